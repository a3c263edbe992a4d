# Run by CPack once the files are staged: dates each of them at the release's time, so that a
# package does not carry the time its files were built, checked out or staged.
include(${CMAKE_CURRENT_LIST_DIR}/release_time.cmake)
file(GLOB_RECURSE staged LIST_DIRECTORIES TRUE ${CPACK_TEMPORARY_DIRECTORY}/*)
execute_process(COMMAND touch -h -d @${release_epoch} ${staged} COMMAND_ERROR_IS_FATAL ANY)
