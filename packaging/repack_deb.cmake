# Run by CPack once the .deb is made. CPack stamps the ar container and the control files with
# the time it packs them, and gives the container's members the builder's umask: dpkg-deb packs
# the same contents again, root-owned, with SOURCE_DATE_EPOCH in the container and no file
# dated later than it.
include(${CMAKE_CURRENT_LIST_DIR}/release_time.cmake)
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    set(unpacked ${deb}.contents)
    file(REMOVE_RECURSE ${unpacked})
    execute_process(COMMAND dpkg-deb --raw-extract ${deb} ${unpacked} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${release_epoch}
                dpkg-deb --root-owner-group -Zxz --build ${unpacked} ${deb}
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${unpacked})
endforeach()
