#pragma once

#include <windows.h>

#include <string_view>

namespace talmiro::win32 {

// The answer to WM_GETOBJECT for a control's client or window object: the system's standard
// accessible object, with its name and, where one is given, its description and role (an MSAA
// ROLE_SYSTEM_ value) replaced, so that value, states, focus and caret stay the system's. 0 where
// accessibility cannot be had here; the control then answers as it always does.
LRESULT namedAccessibleObject(HWND control, LONG object, WPARAM flags, std::u16string_view name,
                              std::u16string_view description, LONG role = 0);

}  // namespace talmiro::win32
