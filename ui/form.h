#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace talmiro::form {

// Geometry is kept in twips (1/1440 inch) so every toolkit scales it to its own screen.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// To the nearest pixel, half a pixel up: 6825 twips are 683 pixels at 144 dpi.
constexpr int twipsToPixels(int twips, int dotsPerInch) {
    return (twips * dotsPerInch + 720) / 1440;
}

struct Font {
    std::u16string_view face;
    int tenthsOfPoint;
    int weight;   // 400 normal, 700 bold
    int charset;  // 134: GB2312
};

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

enum class Kind { Label, TextBox, Button };

// Colours a control wants beyond its kind's standard ones.
enum class Colouring { Standard, WindowBackground, RedText };

struct Control {
    Kind kind;
    std::string_view name;
    std::u16string_view text;
    TwipRect place;
    const Font* font;  // nullptr: the window font
    Colouring colouring;
    bool isDefaultButton = false;
    // What a screen reader says of the control; empty: the control is named by its text. A box's
    // text is what the user typed, so each box has a name of its own.
    std::u16string_view accessibleName = {};
    std::u16string_view accessibleDescription = {};
};

inline constexpr Font windowFont{u"宋体", 120, 400, 134};
inline constexpr Font titleFont{u"华文行楷", 180, 400, 134};
inline constexpr Font inputFont{u"宋体", 105, 400, 134};
inline constexpr Rgb noticeRed{255, 0, 0};

inline constexpr std::string_view windowName = "Talmiro";
inline constexpr std::u16string_view windowTitle = u"Talmiro";
inline constexpr int clientWidth = 6825;
inline constexpr int clientHeight = 4515;

// Windows' own default for what a user may type or paste into an edit box; set on both windows
// so that a huge paste is cut there instead of stalling the window. No key is half as long.
inline constexpr int textBoxLimit = 32767;

inline constexpr std::u16string_view inputPrompt = u"在此输入你要查询的化学式或化学式名称";

// Listed in tab order; labels never take the focus.
inline constexpr std::array<Control, 10> controls{{
    {Kind::Label,
     "Label1",
     u"Talmiro2.0版",
     {1800, 240, 3000, 420},
     &titleFont,
     Colouring::WindowBackground},
    {Kind::Label,
     "Label2",
     u"小林制作 QQ284517936",
     {0, 3720, 2655, 255},
     nullptr,
     Colouring::Standard},
    {Kind::TextBox,
     "Text1",
     inputPrompt,
     {240, 960, 3855, 375},
     &inputFont,
     Colouring::Standard,
     false,
     u"化学式或名称",
     u"输入化学式或名称后按回车键查询"},  // a hint, not the prompt the box already reads out
    {Kind::Button,
     "Command1",
     u"查询",
     {1680, 1560, 1215, 375},
     nullptr,
     Colouring::Standard,
     true},
    {Kind::TextBox,
     "Text2",
     u"",
     {240, 2160, 3855, 375},
     nullptr,
     Colouring::Standard,
     false,
     u"查询结果"},
    {Kind::Label,
     "Label3",
     u"     声明         "
     u"本软件暂时适用于九年级学生使用，可查询的是九年级常见的化学式，以后将继续更新。",
     {4560, 960, 2055, 1575},
     nullptr,
     Colouring::RedText},
    {Kind::Button,
     "Command2",
     u"我的空间",
     {1080, 3120, 1335, 375},
     nullptr,
     Colouring::Standard,
     false,
     {},
     u"在浏览器中打开作者的主页"},
    {Kind::Button, "Command3", u"帮助", {3000, 3120, 1335, 375}, nullptr, Colouring::Standard},
    {Kind::Label,
     "Label4",
     u"版权所有,侵权必究",
     {4440, 4080, 2175, 255},
     nullptr,
     Colouring::Standard},
    {Kind::Label,
     "Label5",
     u"我的邮箱talmiro@example.com",
     {0, 4200, 3375, 255},
     nullptr,
     Colouring::Standard},
}};

constexpr std::u16string_view accessibleName(const Control& control) {
    return control.accessibleName.empty() ? control.text : control.accessibleName;
}

// The button that Enter presses while no button has the focus.
constexpr const Control& defaultButton() {
    for (const Control& c : controls) {
        if (c.isDefaultButton) {
            return c;
        }
    }
    throw "no default button";
}

constexpr const Control& control(std::string_view name) {
    for (const Control& c : controls) {
        if (c.name == name) {
            return c;
        }
    }
    throw "no control of that name";
}

}  // namespace talmiro::form
