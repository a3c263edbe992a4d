#pragma once

#include <windows.h>

namespace talmiro::win32 {

// Ctrl+V, Shift+Insert and the edit menu's Paste in a single-line edit box: the clipboard's
// text up to its first line break and the box's limit replaces the selection, undoably. A
// clipboard that yields no text leaves the box as it was.
void pasteFirstLine(HWND edit);

}  // namespace talmiro::win32
