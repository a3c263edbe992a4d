#include <windows.h>

#include <cstdlib>
#include <exception>

#include "ui/win32/main_window.h"
#include "ui/win32/system_function.h"
#include "ui/win32/windows_shell.h"

// The C++ runtime's own handler for an exception nothing caught writes its name to the console,
// which a window program has not; nothing reaches it here, since every handler and wWinMain catch
// their own. A plain abort in its place keeps the runtime's name demangler and printf, which that
// handler alone links in, out of the exe: about 45 KB.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    talmiro::win32::confineDllSearchToSystem32();
    talmiro::win32::WindowsShell shell;
    try {
        talmiro::win32::MainWindow window(instance, shell);
        ShowWindow(window.handle(), showCommand);
        return talmiro::win32::runMessageLoop(window);
    } catch (const std::exception&) {
        MessageBoxW(nullptr, L"Talmiro 无法创建主窗口。", L"Talmiro", MB_OK | MB_ICONERROR);
        return 1;
    }
}
