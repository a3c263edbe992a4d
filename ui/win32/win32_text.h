#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace talmiro::win32 {

// The program's texts are UTF-16 as Windows' own are; only the character type differs.
inline std::wstring wide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

// The text of a window or control, whatever its length.
inline std::u16string windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return {text.begin(), text.end()};
}

}  // namespace talmiro::win32
