#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/seams.h"
#include "ui/text_field.h"

// Stand-ins for what the handlers touch, each able to fail on demand.
namespace talmiro::fake {

inline void failIf(bool fail, const char* what) {
    if (fail) {
        throw std::runtime_error(what);
    }
}

struct Field : TextField {
    std::u16string text() const override {
        failIf(failRead, "text box is gone");
        return shown;
    }
    void setText(std::u16string_view text) override {
        failIf(failOnSet == ++sets, "text box is gone");
        shown = text;
    }
    std::u16string shown;
    bool failRead = false;
    int failOnSet = 0;  // which setText call throws, counting from 1; 0: none
    int sets = 0;
};

struct Window : OwnerWindow {
    NativeHandle nativeHandle() const override {
        failIf(failure.has_value(), failure.value_or("").c_str());
        return 0x5151;
    }
    std::optional<std::string> failure;
};

struct Messages : MessageDialog {
    void show(std::u16string_view title, std::u16string_view text) override {
        failIf(broken, "no message box");
        shown.push_back({std::u16string(title), std::u16string(text)});
    }
    std::vector<std::pair<std::u16string, std::u16string>> shown;  // title and text
    bool broken = false;
};

struct Shell : talmiro::Shell {
    struct Request {
        NativeHandle owner;
        std::string verb, item;
        bool operator==(const Request&) const = default;
    };
    void open(NativeHandle owner, std::string_view verb, std::string_view item) override {
        failIf(fail, "shell unavailable");
        requests.push_back({owner, std::string(verb), std::string(item)});
    }
    std::vector<Request> requests;
    bool fail = false;
};

struct Announcer : talmiro::Announcer {
    void announce(std::u16string_view text) noexcept override { spoken.emplace_back(text); }
    std::vector<std::u16string> spoken;
};

}  // namespace talmiro::fake
