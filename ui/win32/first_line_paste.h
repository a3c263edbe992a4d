#pragma once

#include <windows.h>

#include <string_view>

namespace talmiro::win32 {

// Ctrl+V, Shift+Insert and the edit menu's Paste in a single-line edit box: the clipboard's
// text up to its first line break and the box's limit replaces the selection, undoably. A
// clipboard that yields no text leaves the box as it was.
void pasteFirstLine(HWND edit);

// The same for text from elsewhere (a screen reader setting the box's value): its first line, as
// much as the box has room for in whole characters, replaces the selection, undoably.
void replaceSelectionWithFirstLine(HWND edit, std::u16string_view text);

}  // namespace talmiro::win32
