# windows_text(SOURCE DESTINATION): a copy of a text file with Windows line ends, which Notepad on
# Windows 7 needs to show its lines apart.
# (CMake reads a text without its CRs.)
function(windows_text source destination)
    file(READ ${source} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${destination} "${text}")
endfunction()
