#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ui/seams.h"
#include "ui/text_field.h"

// Stand-ins for what the handlers touch, each able to fail on demand.
namespace talmiro::fake {

class Field : public TextField {
  public:
    explicit Field(std::u16string text = {}) : text_(std::move(text)) {}
    std::u16string text() const override {
        failIf(failRead);
        return text_;
    }
    void setText(std::u16string_view text) override {
        failIf(failOnSet == static_cast<int>(sets.size()) + 1);
        sets.emplace_back(text);
        text_ = text;
    }
    const std::u16string& shown() const { return text_; }

    bool failRead = false;
    int failOnSet = 0;  // which setText call throws, counting from 1; 0: none
    std::vector<std::u16string> sets;

  private:
    static void failIf(bool fail) {
        if (fail) {
            throw std::runtime_error("text box is gone");
        }
    }
    std::u16string text_;
};

struct Window : OwnerWindow {
    NativeHandle nativeHandle() const override {
        if (failure) {
            throw std::runtime_error(*failure);
        }
        return 0x5151;
    }
    std::optional<std::string> failure;
};

struct Messages : MessageDialog {
    struct Shown {
        std::u16string title;
        std::u16string text;
    };
    void show(std::u16string_view title, std::u16string_view text) override {
        if (broken) {
            throw std::runtime_error("no message box");
        }
        shown.push_back({std::u16string(title), std::u16string(text)});
    }
    std::vector<Shown> shown;
    bool broken = false;
};

struct Shell : talmiro::Shell {
    struct Request {
        NativeHandle owner;
        std::string verb;
        std::string item;
        bool operator==(const Request&) const = default;
    };
    void open(NativeHandle owner, std::string_view verb, std::string_view item) override {
        if (fail) {
            throw std::runtime_error("shell unavailable");
        }
        requests.push_back({owner, std::string(verb), std::string(item)});
    }
    std::vector<Request> requests;
    bool fail = false;
};

}  // namespace talmiro::fake
