# The release's time, for every stamp a package carries: SOURCE_DATE_EPOCH, which the release
# takes from its commit, or else the release date. Sets release_epoch (seconds since 1970, UTC).
set(release_epoch $ENV{SOURCE_DATE_EPOCH})
if(NOT release_epoch)
    include(${CMAKE_CURRENT_LIST_DIR}/../cmake/VersionInfo.cmake)
    execute_process(COMMAND date -u -d ${TALMIRO_RELEASE_DATE} +%s OUTPUT_VARIABLE release_epoch
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endif()
