#include <windows.h>

#include <exception>

#include "ui/win32/main_window.h"
#include "ui/win32/windows_shell.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
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
