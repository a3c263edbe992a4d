#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fakes.h"
#include "ui/form.h"

// The main window as a user meets it, so that every behaviour is written once and run against
// each window. Controls go by their form names, the window by form::windowName; input goes
// through the window system.
namespace talmiro::test {

enum class Key { Enter, Space, Tab, ShiftTab, Escape, Left, Right, Up, Down, Paste, Undo };

inline constexpr std::string_view face = "face";  // a spot on the window that no control covers

struct Rect {
    int left, top, width, height;
    bool operator==(const Rect&) const = default;
};

struct Font {
    std::u16string face;  // as asked for, before any substitution
    int pixels;           // the em height
    bool operator==(const Font&) const = default;
};

// A control as a screen reader reads it. Roles are MSAA's: 41 static text, 42 editable text,
// 43 push button; Wine gives buttons and labels the generic client role instead.
inline constexpr int winesGenericRole = 10;
struct Accessible {
    std::u16string name, description, value;
    int role;
};

struct SeenBox {
    std::u16string title, text;
    std::vector<std::u16string> buttons;
    bool hasIcon;
    bool operator==(const SeenBox&) const = default;
};

class WindowDriver {
  public:
    virtual ~WindowDriver() = default;
    virtual void type(std::u16string_view text) = 0;   // into the control with the focus
    virtual void paste(std::u16string_view text) = 0;  // by the clipboard and Ctrl+V
    virtual void press(const std::vector<Key>& keys) = 0;
    virtual void click(std::string_view control) = 0;  // primary button, at the centre
    virtual void doubleClick(std::string_view control) = 0;
    virtual void drag(std::string_view from, std::string_view to) = 0;
    virtual void setText(std::string_view textBox, std::u16string_view text) = 0;
    virtual std::u16string text(std::string_view control) = 0;
    virtual std::string focus() = 0;
    virtual int dpi() = 0;                             // of the window's own pixels
    virtual Rect place(std::string_view control) = 0;  // pixels in the client area
    virtual Font font(std::string_view control) = 0;
    virtual bool showsWholeText(std::string_view textBox) = 0;  // none of it scrolled away
    virtual std::vector<form::Rgb> icon() = 0;  // 32 x 32, rows top down; see-through is black
    virtual Accessible accessible(std::string_view control) = 0;
    virtual bool underWine() { return false; }
    // What the window has had screen readers speak, unasked, since the last call; nothing where
    // a real screen reader is the judge instead.
    virtual std::optional<std::vector<std::u16string>> announced() = 0;
    virtual NativeHandle handle() = 0;
    virtual bool takesInput() = 0;  // false while a modal box blocks the window
    // Runs `action`, noting each message box it opens; `whileOpen` runs with the box up, then
    // the box is closed with its first button.
    virtual std::vector<SeenBox> boxesDuring(const std::function<void()>& action,
                                             const std::function<void()>& whileOpen = {}) = 0;
    virtual void close() = 0;  // as the title bar's close box does
    virtual bool ended() = 0;  // the window is gone and the program is ending

    fake::Shell shell;
};

std::unique_ptr<WindowDriver> makeDriver();  // each window's test program has its own

// Every control and the client area where the form puts them at `dpi`, in the fonts it gives them.
void expectLaidOutAt(WindowDriver& window, int dpi);

}  // namespace talmiro::test
