#include "ui/win32/system_function.h"

#include <string>

namespace talmiro::win32 {

HMODULE systemLibrary(const wchar_t* dll) {
    // AddDllDirectory came with the update that taught the loader to search System32 alone.
    const bool searchesSystem32Alone =
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
    if (searchesSystem32Alone) {
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
