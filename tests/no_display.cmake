# Starts Talmiro where it cannot open a window and expects its own message and exit status 1,
# not the toolkit's abort. Run with -DTALMIRO=<the program>.
foreach(setting "NO_DISPLAY=1" "DISPLAY=:1023" "QT_QPA_PLATFORM=wayland" "QT_QPA_PLATFORM=none")
    execute_process(
        # env execs the program, so an abort shows as such; cmake -E env would report it as 1.
        COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ${setting} ${TALMIRO}
        RESULT_VARIABLE status ERROR_VARIABLE said TIMEOUT 30)
    if(NOT status EQUAL 1 OR NOT said MATCHES "需要图形桌面.*needs a graphical desktop")
        message(FATAL_ERROR "with ${setting}: exit status ${status}, said: ${said}")
    endif()
endforeach()
