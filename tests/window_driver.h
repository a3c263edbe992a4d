#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fakes.h"
#include "ui/form.h"

// The main window as a user meets it, so that every behaviour is written once and run against
// each window. Controls are named as in the form; input goes through the window system.
namespace talmiro::test {

enum class Key { Enter, Space, Tab, ShiftTab, Escape, Left, Right, Up, Down };

// A spot on the window's face that no control covers.
inline constexpr std::string_view face = "face";

struct Rect {
    int left;
    int top;
    int width;
    int height;
    bool operator==(const Rect&) const = default;
};

struct SeenBox {
    std::u16string title;
    std::u16string text;
    std::vector<std::u16string> buttons;
    bool hasIcon = false;
};

class WindowDriver {
  public:
    virtual ~WindowDriver() = default;

    virtual void type(std::u16string_view text) = 0;   // into the control with the focus
    virtual void paste(std::u16string_view text) = 0;  // by the clipboard and Ctrl+V
    virtual void press(Key key) = 0;
    virtual void click(std::string_view control) = 0;  // primary button, at the centre
    virtual void doubleClick(std::string_view control) = 0;
    virtual void drag(std::string_view from, std::string_view to) = 0;
    virtual void setText(std::string_view textBox, std::u16string_view text) = 0;
    virtual std::u16string text(std::string_view textBox) = 0;
    virtual std::string focus() = 0;
    virtual std::u16string title() = 0;
    virtual Rect place(std::string_view control) = 0;  // pixels; form::windowName: the client
    virtual std::vector<form::Rgb> icon() = 0;         // 32 x 32, rows top to bottom
    virtual NativeHandle handle() = 0;
    virtual bool takesInput() = 0;  // false while a modal box blocks the window

    // Runs `action` and notes each message box it opens; `whileOpen` runs with the box up, then
    // the box is closed with its first button.
    virtual std::vector<SeenBox> boxesDuring(const std::function<void()>& action,
                                             const std::function<void()>& whileOpen = {}) = 0;

    virtual void close() = 0;  // as the title bar's close box does
    virtual bool ended() = 0;  // the window is gone and the program is ending

    fake::Shell shell;
};

// Each window's test program provides its driver.
std::unique_ptr<WindowDriver> makeDriver();

}  // namespace talmiro::test
