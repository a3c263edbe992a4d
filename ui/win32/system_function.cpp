#include "ui/win32/system_function.h"

#include <string>

namespace talmiro::win32 {
namespace {

// What Windows itself loads by bare name on the window's paths, none of them a KnownDLL on
// Windows 7: the theme engine and the desktop compositor's client (Common Controls 6 drawing the
// controls and the frame), version information and the property system (the shell's
// ShellExecute), the crypto base (advapi32 on Windows 7) and COM's class catalogue (the first
// COM object made, by the shell or for a screen reader).
constexpr const wchar_t* loadedLaterByName[] = {L"uxtheme.dll", L"dwmapi.dll",    L"version.dll",
                                                L"propsys.dll", L"cryptbase.dll", L"clbcatq.dll"};

// KB2533623 brought SetDefaultDllDirectories and AddDllDirectory together.
FARPROC newLoaderFunction(const char* name) {
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
}

}  // namespace

void confineDllSearchToSystem32() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void (*)()>(newLoaderFunction("SetDefaultDllDirectories")));
    if (setDefaultDllDirectories != nullptr &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return;
    }
    SetDllDirectoryW(L"");
    for (const wchar_t* dll : loadedLaterByName) {
        systemLibrary(dll);
    }
}

HMODULE systemLibrary(const wchar_t* dll) {
    if (newLoaderFunction("AddDllDirectory") != nullptr) {
        HMODULE library = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (library != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) {
            return library;
        }
    }
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    path.resize(length);
    path += L'\\';
    path += dll;
    // A full path is looked for nowhere else; the DLL's own imports are then found beside it.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace talmiro::win32
