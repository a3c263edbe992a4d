#pragma once

#include <windows.h>

namespace talmiro::win32 {

// A function of a DLL the exe does not import, for what start-up must not pay for. The DLL comes
// from System32 only: one of that name planted beside the exe, in a Downloads folder say, is never
// loaded. nullptr where the DLL or the function cannot be had.
template <typename Function>
Function systemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module == nullptr ? nullptr
                             : reinterpret_cast<Function>(
                                   reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace talmiro::win32
