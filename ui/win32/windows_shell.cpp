#include "ui/win32/windows_shell.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace talmiro::win32 {

void WindowsShell::open(NativeHandle owner, std::string_view verb, std::string_view item) {
    using ShellExecuteAFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const ShellExecuteAFunction shellExecute = []() -> ShellExecuteAFunction {
        // From System32 only: a shell32.dll planted beside the exe is never loaded.
        HMODULE shell32 = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        FARPROC entry = shell32 ? GetProcAddress(shell32, "ShellExecuteA") : nullptr;
        return reinterpret_cast<ShellExecuteAFunction>(reinterpret_cast<void (*)()>(entry));
    }();
    if (shellExecute == nullptr) {
        throw std::runtime_error("在 shell32.dll 中找不到 ShellExecuteA");
    }
    // The result is not looked at: a page that cannot be opened is the shell's to report.
    shellExecute(reinterpret_cast<HWND>(owner), std::string(verb).c_str(),
                 std::string(item).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace talmiro::win32
