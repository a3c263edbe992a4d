#include "ui/win32/message_box.h"

#include <stdexcept>
#include <string_view>

#include "ui/win32/win32_text.h"

namespace talmiro::win32 {
namespace {

// The OK button's caption comes from the system's language; the program speaks Chinese on
// every system, so the box is relabelled as it opens.
LRESULT CALLBACK relabelOkButton(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        wchar_t windowClass[8] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), windowClass, 8);
        if (std::wstring_view(windowClass) == L"#32770") {
            SetDlgItemTextW(reinterpret_cast<HWND>(wParam), IDOK, L"确定");
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void MessageBoxDialog::show(std::u16string_view title, std::u16string_view text) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, relabelOkButton, nullptr, GetCurrentThreadId());
    const int result = MessageBoxW(owner_, wide(text).c_str(), wide(title).c_str(), MB_OK);
    UnhookWindowsHookEx(hook);
    if (result == 0) {
        throw std::runtime_error("无法显示信息框");
    }
}

}  // namespace talmiro::win32
