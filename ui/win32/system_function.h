#pragma once

#include <windows.h>

namespace talmiro::win32 {

// Before the first window: every DLL the process loads from then on, by the program or by Windows
// on its behalf, comes from the system folder only, so that one planted beside the exe, in a
// Downloads folder say, is never loaded. Windows 7 and Vista without the loader update
// (KB2533623) cannot search System32 alone: there the current folder leaves the search, and the
// DLLs that Windows would load later by their bare name are loaded now by their full path, which
// a later load by name then finds loaded.
void confineDllSearchToSystem32();

// A DLL the exe does not import, for what start-up must not pay for, from the system folder
// only; by its full path where the loader cannot search System32 alone. nullptr where it cannot
// be had.
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
