#include "ui/win32/first_line_paste.h"

#include <algorithm>
#include <optional>
#include <string>

#include "ui/first_line.h"
#include "ui/form.h"

namespace talmiro::win32 {
namespace {

// Nothing where the clipboard lists text but its owner fails to render it.
std::optional<std::u16string> clipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) {
        return std::nullopt;
    }
    std::optional<std::u16string> read;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const char16_t*>(GlobalLock(data))) {
            // Never read past the memory's end, nor much further than a box holds: one unit
            // more, so that a character the limit would split is seen whole.
            const std::size_t readable =
                std::min<std::size_t>(GlobalSize(data) / sizeof(char16_t), form::textBoxLimit + 1);
            read = std::u16string(text, std::find(text, text + readable, u'\0'));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return read;
}

}  // namespace

void pasteFirstLine(HWND edit) {
    if (const std::optional<std::u16string> text = clipboardText(edit)) {
        replaceSelectionWithFirstLine(edit, *text);
    }
}

void replaceSelectionWithFirstLine(HWND edit, std::u16string_view text) {
    // The box would cut what does not fit wherever the limit falls, inside a character too.
    DWORD selectionStart = 0;
    DWORD selectionEnd = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
    const auto kept =
        static_cast<std::size_t>(GetWindowTextLengthW(edit)) - (selectionEnd - selectionStart);
    const auto limit = static_cast<std::size_t>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    const std::u16string fitting(
        wholeCharactersFitting(firstLine(text), limit > kept ? limit - kept : 0));
    SendMessageW(edit, EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(reinterpret_cast<const wchar_t*>(fitting.c_str())));
}

}  // namespace talmiro::win32
