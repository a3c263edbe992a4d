#pragma once

#include <windows.h>

namespace talmiro::win32 {

// A DLL the exe does not import, for what start-up must not pay for, from the system folder
// only: one of that name planted beside the exe, in a Downloads folder say, is never loaded.
// Windows 7 and Vista without the loader update (KB2533623) cannot search System32 alone: there
// it is loaded by its full path in the system folder. nullptr where it cannot be had.
HMODULE systemLibrary(const wchar_t* dll);

// A function of such a DLL; nullptr where the DLL or the function cannot be had.
template <typename Function>
Function functionIn(HMODULE library, const char* name) {
    return library == nullptr ? nullptr
                              : reinterpret_cast<Function>(
                                    reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

template <typename Function>
Function systemFunction(const wchar_t* dll, const char* name) {
    return functionIn<Function>(systemLibrary(dll), name);
}

}  // namespace talmiro::win32
