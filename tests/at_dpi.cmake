# Runs the shared scaling scenario on the Windows window with the Wine prefix set to DPI dots per
# inch, and sets the prefix back to 96 whatever the outcome. Run with -DDPI=<dpi> -DTESTS=<test exe> -DWINE=<wine>.
function(set_dpi dpi)
    execute_process(
        COMMAND ${WINE} reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD
                /d ${dpi} /f
        OUTPUT_QUIET ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
endfunction()

set_dpi(${DPI})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env TALMIRO_EXPECTED_DPI=${DPI}
            ${WINE} ${TESTS} --gtest_filter=Window.ControlsScaleToTheDpi*
    RESULT_VARIABLE failed)
set_dpi(96)
if(failed)
    message(FATAL_ERROR "the Windows window is not right at ${DPI} dpi")
endif()
