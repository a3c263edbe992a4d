#include "ui/win32/windows_shell.h"

#include <windows.h>

#include <stdexcept>
#include <string>

#include "ui/win32/com_apartment.h"
#include "ui/win32/system_function.h"

namespace talmiro::win32 {

void WindowsShell::open(NativeHandle owner, std::string_view verb, std::string_view item) {
    using ShellExecuteAFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const HMODULE shell32 = systemLibrary(L"shell32.dll");
    if (shell32 == nullptr) {
        throw std::runtime_error("无法加载 shell32.dll");
    }
    static const auto shellExecute = functionIn<ShellExecuteAFunction>(shell32, "ShellExecuteA");
    if (shellExecute == nullptr) {
        throw std::runtime_error("在 shell32.dll 中找不到 ShellExecuteA");
    }
    startCom();  // some of the shell's handlers are COM objects; without COM it is still tried
    // The result is not looked at: a page that cannot be opened is the shell's to report.
    shellExecute(reinterpret_cast<HWND>(owner), std::string(verb).c_str(),
                 std::string(item).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace talmiro::win32
