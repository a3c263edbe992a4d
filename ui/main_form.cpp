#include "ui/main_form.h"

#include <cstdio>
#include <exception>
#include <string>

#include "catalogue/lookup.h"
#include "ui/help.h"
#include "ui/home_page.h"

namespace talmiro {
namespace {

// Exception texts are UTF-8; a malformed sequence shows as U+FFFD rather than being dropped.
std::u16string fromUtf8(std::string_view utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x6  ? 2
                           : (lead >> 4) == 0xE  ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = length != 0 && i + length <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        constexpr char32_t smallestOfLength[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= smallestOfLength[length] && code <= 0x10FFFF &&
                (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += length;
    }
    return out;
}

}  // namespace

void MainForm::dispatch(Handler handler) {
    try {
        (this->*handler)();
    } catch (const std::exception& error) {
        reportRuntimeError(error.what());
    } catch (...) {
        reportRuntimeError("未知错误");
    }
}

void MainForm::reportRuntimeError(std::string_view description) {
    std::u16string text(runtimeErrorPrefix);
    text += fromUtf8(description);
    try {
        messages_.show(runtimeErrorTitle, text);
    } catch (...) {
        // The report itself failed; stderr is the last place the user could still see it.
        const std::string line =
            "Talmiro: 运行时错误：" + std::string(description) + "（无法显示错误信息框）\n";
        std::fputs(line.c_str(), stderr);
    }
}

MainForm::Handler MainForm::buttonHandler(std::string_view name) {
    return name == "Command1"   ? &MainForm::Command1_Click
           : name == "Command2" ? &MainForm::Command2_Click
           : name == "Command3" ? &MainForm::Command3_Click
                                : nullptr;
}

void MainForm::Command1_Click() {
    // The not-found message goes up first, so a failing read of Text1 leaves no stale answer.
    Text2.setText(notFoundMessage);
    const std::u16string_view answer = lookup(Text1.text());
    Text2.setText(answer);
    // Only the final answer is spoken, never the interim text; an empty input has none to speak.
    if (!answer.empty()) {
        announcer_.announce(answer);
    }
}

void MainForm::Command2_Click() {
    ShellOpen(homePageAddress);
}

void MainForm::Command3_Click() {
    messages_.show(helpTitle, helpText);
}

void MainForm::Text1_Click() {
    Text1.setText(u"");
}

void MainForm::ShellOpen(std::string_view item) {
    // The handle is read first: if the window is gone, nothing reaches the shell.
    const NativeHandle owner = window_.nativeHandle();
    shell_.open(owner, shellOpenVerb, item);
}

}  // namespace talmiro
