// What a user can see and do in the main window, run against each window through its driver.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>

#include "catalogue/lookup.h"
#include "tests/window_driver.h"
#include "ui/home_page.h"
#include "ui/main_form.h"

namespace talmiro::test {
namespace {

const std::u16string prompt(form::inputPrompt);
const std::u16string notFound(notFoundMessage);
const std::u16string helpBoxText =
    u"帮助  软件名: Talmiro  制作者: 林晓明 (小林)  "
    u"在第一个输入框内输入你要查询的化学式（如Fe3O4，则下面出现的是四氧化三铁)，"
    u"或在第一个方框内输入化学式名称，则在第二个框内出现的就是化学式。"
    u"由于本软件制作的时间关系，有一些地方可能有纰漏，希望大家踊跃的给我提出意见，"
    u"请联系我的QQ284517936 注意：1、化学式和化学方程式是不一样的，"
    u"本软件暂时只能查询九年级常见的化学式。"
    u"2、2.0版本修正了1.0版本的一些错误并且加入了一些化学式。";

class Window : public ::testing::Test {
  protected:
    void tabTo(std::string_view name) {
        for (int i = 0; i < 6 && window->focus() != name; ++i) {
            window->press({Key::Tab});
        }
        ASSERT_EQ(window->focus(), name);
    }
    std::u16string text(std::string_view name) { return window->text(name); }

    std::unique_ptr<WindowDriver> window = makeDriver();
};

TEST_F(Window, StartsWithThePromptSelectedInTheFocusedInput) {
    EXPECT_EQ(text(form::windowName), u"Talmiro");
    EXPECT_EQ(text("Text1"), prompt);
    EXPECT_EQ(text("Text2"), u"");
    EXPECT_EQ(window->focus(), "Text1");
    window->type(u"NaCl");
    EXPECT_EQ(text("Text1"), u"NaCl") << "typing replaces the prompt";
}

}  // namespace

// Text1's font may give up to 3 px so that its prompt shows whole.
void expectLaidOutAt(WindowDriver& window, int dpi) {
    const auto scaled = [dpi](int at96) {
        return static_cast<int>(std::lround(at96 * dpi / 96.0));
    };
    const struct {
        std::string_view name;
        Rect at96;
        Font font;
    } controls[] = {
        {"Label1", {120, 16, 200, 28}, {u"华文行楷", 24}},
        {"Label2", {0, 248, 177, 17}, {u"宋体", 16}},
        {"Text1", {16, 64, 257, 25}, {u"宋体", 14}},
        {"Command1", {112, 104, 81, 25}, {u"宋体", 16}},
        {"Text2", {16, 144, 257, 25}, {u"宋体", 16}},
        {"Label3", {304, 64, 137, 105}, {u"宋体", 16}},
        {"Command2", {72, 208, 89, 25}, {u"宋体", 16}},
        {"Command3", {200, 208, 89, 25}, {u"宋体", 16}},
        {"Label4", {296, 272, 145, 17}, {u"宋体", 16}},
        {"Label5", {0, 280, 225, 17}, {u"宋体", 16}},
    };
    EXPECT_EQ(window.place(form::windowName), (Rect{0, 0, scaled(455), scaled(301)}));
    for (const auto& [name, at96, font] : controls) {
        EXPECT_EQ(window.place(name), (Rect{scaled(at96.left), scaled(at96.top), scaled(at96.width),
                                            scaled(at96.height)}))
            << name;
        const Font shown = window.font(name);
        const int wanted = scaled(font.pixels);
        EXPECT_EQ(shown.face, font.face) << name;
        EXPECT_TRUE(shown.pixels <= wanted && shown.pixels >= wanted - (name == "Text1" ? 3 : 0))
            << name << " is " << shown.pixels << " px high, not " << wanted;
    }
    EXPECT_TRUE(window.showsWholeText("Text1"));
}

namespace {

// Run at 96 dpi with the rest, and by the Windows build at 120, 144 and 192 dpi on its own.
TEST_F(Window, ControlsScaleToTheDpiKeepTheirFontsAndShowThePromptWhole) {
    const int dpi = window->dpi();
    if (const char* expected = std::getenv("TALMIRO_EXPECTED_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected)) << "the screen's dpi did not take";
    }
    expectLaidOutAt(*window, dpi);
}

TEST_F(Window, LooksUpByEnterInEitherBoxByClickAndBySpace) {
    window->press({Key::Enter});
    EXPECT_EQ(text("Text2"), notFound) << "the untouched prompt is looked up as it is";
    const struct {
        const char* how;
        std::vector<Key> keys;
    } ways[] = {
        {"a click", {}},
        {"Enter in Text1", {Key::Enter}},
        {"Enter in Text2", {Key::Tab, Key::Tab, Key::Enter}},
        {"Enter on the button", {Key::Tab, Key::Enter}},
        {"Space on the button", {Key::Tab, Key::Space}},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        window->click("Text1");
        window->type(u"氯化钠");
        window->setText("Text2", u"previous answer");
        way.keys.empty() ? window->click("Command1") : window->press(way.keys);
        EXPECT_EQ(text("Text2"), u"NaCl");
        EXPECT_EQ(text("Text1"), u"氯化钠");
    }
    window->click("Text1");
    window->press({Key::Enter});
    EXPECT_EQ(text("Text2"), u"") << "an empty input empties the answer";
}

TEST_F(Window, EnterPressesTheButtonWithTheFocusHoweverItGotThere) {
    const struct {
        const char* button;
        std::vector<Key> keys;  // from Text1; none: a click on the button
    } ways[] = {
        {"Command2", {Key::Tab, Key::Tab, Key::Tab}},
        {"Command2", {Key::ShiftTab, Key::ShiftTab}},
        {"Command2", {}},
        {"Command3", {Key::Tab, Key::Tab, Key::Tab, Key::Tab}},
        {"Command3", {Key::ShiftTab}},
        {"Command3", {}},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(std::string(way.button) + (way.keys.empty() ? " by the mouse" : " by keys"));
        window = makeDriver();
        window->boxesDuring([&] {
            window->click("Text1");
            way.keys.empty() ? window->click(way.button) : window->press(way.keys);
        });
        ASSERT_EQ(window->focus(), way.button);
        window->setText("Text2", u"kept");
        const bool isHelp = std::string_view(way.button) == "Command3";
        const std::size_t requests = window->shell.requests.size();
        const auto boxes = window->boxesDuring([&] { window->press({Key::Enter}); });
        EXPECT_EQ(boxes.size(), isHelp ? 1u : 0u);
        EXPECT_EQ(window->shell.requests.size() - requests, isHelp ? 0u : 1u);
        EXPECT_EQ(text("Text2"), u"kept");
    }
    window->setText("Text1", u"H2O");
    window->click("Text2");
    window->press({Key::Enter});
    EXPECT_EQ(text("Text2"), u"水") << "back in a text box, Enter looks up again";
}

// After a lookup, so that whatever the window made to have the answer spoken is there too.
TEST_F(Window, TabAndArrowKeysWalkTheFocusableControlsOnly) {
    window->press({Key::Enter});
    for (const char* next : {"Command1", "Text2", "Command2", "Command3", "Text1"}) {
        window->press({Key::Tab});
        EXPECT_EQ(window->focus(), next) << "Tab";
    }
    for (const char* previous : {"Command3", "Command2", "Text2", "Command1", "Text1"}) {
        window->press({Key::ShiftTab});
        EXPECT_EQ(window->focus(), previous) << "Shift+Tab";
    }
    EXPECT_EQ(text("Text1"), prompt) << "the focus alone changes no text";

    const struct {
        const char* from;
        Key key;
        const char* to;
    } steps[] = {
        {"Command2", Key::Right, "Command3"}, {"Command2", Key::Down, "Command3"},
        {"Command3", Key::Left, "Command2"},  {"Command3", Key::Up, "Command2"},
        {"Command3", Key::Right, "Text1"},    {"Command1", Key::Left, "Text1"},
        {"Text1", Key::Right, "Text1"},       {"Text2", Key::Up, "Text2"},
    };
    for (const auto& step : steps) {
        tabTo(step.from);
        window->press({step.key});
        EXPECT_EQ(window->focus(), step.to) << "an arrow from " << step.from;
    }
}

TEST_F(Window, EscapeAndLabelClicksChangeNothing) {
    window->setText("Text2", u"answer");
    for (const char* focus : {"Text1", "Command1", "Command3"}) {
        tabTo(focus);
        window->press({Key::Escape});
        EXPECT_EQ(window->focus(), focus);
    }
    tabTo("Text1");
    for (const char* label : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
        EXPECT_TRUE(window->boxesDuring([&] { window->click(label); }).empty());
        EXPECT_EQ(window->focus(), "Text1") << label;
    }
    EXPECT_FALSE(window->ended());
    EXPECT_EQ(text("Text1"), prompt);
    EXPECT_EQ(text("Text2"), u"answer");
    EXPECT_TRUE(window->shell.requests.empty());
}

TEST_F(Window, EveryClickInTheInputEmptiesItButADragIsNoClick) {
    window->setText("Text2", u"answer");
    window->drag(face, "Text1");
    EXPECT_EQ(text("Text1"), prompt) << "pressed outside, released inside";
    window->click("Text1");
    EXPECT_EQ(text("Text1"), u"");
    EXPECT_EQ(window->focus(), "Text1");
    window->click("Text1");
    EXPECT_EQ(text("Text1"), u"");
    window->type(u"硫酸");
    window->click("Text1");
    EXPECT_EQ(text("Text1"), u"") << "a later click empties what was typed";
    window->type(u"硫酸");
    window->drag("Text1", face);
    EXPECT_EQ(text("Text1"), u"硫酸") << "pressed inside, released outside";
    window->doubleClick("Text1");
    EXPECT_EQ(text("Text1"), u"") << "each click of a double click counts";
    EXPECT_EQ(text("Text2"), u"answer");
}

TEST_F(Window, HelpIsAModalBoxWithTheHelpTextAndOneChineseOkButton) {
    window->setText("Text1", u"NaCl");
    window->setText("Text2", u"answer");
    for (int time = 0; time < 2; ++time) {
        bool windowTookInput = true;
        const auto boxes = window->boxesDuring([&] { window->click("Command3"); },
                                               [&] { windowTookInput = window->takesInput(); });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], (SeenBox{u"帮助", helpBoxText, {u"确定"}, false}));
        EXPECT_FALSE(windowTookInput);
    }
    EXPECT_TRUE(window->takesInput());
    EXPECT_EQ(text("Text1"), u"NaCl");
    EXPECT_EQ(text("Text2"), u"answer");
}

TEST_F(Window, TheHomePageButtonHandsTheAddressToTheShellOncePerClick) {
    window->setText("Text1", u"NaCl");
    EXPECT_TRUE(window
                    ->boxesDuring([&] {
                        window->click("Command2");
                        window->click("Command2");
                    })
                    .empty());
    const fake::Shell::Request request{window->handle(), "Open", std::string(homePageAddress)};
    EXPECT_EQ(window->shell.requests, (std::vector{request, request}));
    EXPECT_EQ(text("Text1"), u"NaCl");
    EXPECT_EQ(text("Text2"), u"");
}

TEST_F(Window, AnErrorInAHandlerIsReportedAndTheWindowCarriesOn) {
    window->shell.fail = true;
    const auto boxes = window->boxesDuring([&] { window->click("Command2"); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, runtimeErrorTitle);
    EXPECT_EQ(boxes[0].text, std::u16string(runtimeErrorPrefix) + u"shell unavailable");
    window->click("Command1");
    EXPECT_EQ(text("Text2"), notFound);
}

TEST_F(Window, APasteStopsAtItsFirstLineBreakAndAtTheBoxLimitAndUndoes) {
    const std::u16string huge(std::size_t{25} << 20, u'氯');  // 50 MiB of UTF-16
    const std::u16string odd = u"\xD800Na\U0001F600\u202E\u0301\t";
    const std::u16string nearlyFull(32766, u'O');
    const struct {
        std::u16string pasted;
        std::u16string kept;
    } pastes[] = {
        {u"Fe3O4\r\nFeO", u"Fe3O4"},
        {u"Fe3O4\nFeO", u"Fe3O4"},
        {u"Fe3O4\rFeO", u"Fe3O4"},
        {u"\r\nFe3O4", u""},
        {u"\nFe3O4\r", u""},
        {huge, huge.substr(0, 32767)},
        {nearlyFull + u"\U0001F600", nearlyFull},  // no half of a character at the limit
        {odd, odd},
    };
    for (const auto& paste : pastes) {
        SCOPED_TRACE(paste.kept.size());
        window->click("Text1");
        window->paste(paste.pasted);
        EXPECT_TRUE(text("Text1") == paste.kept);
        window->press({Key::Enter});
        EXPECT_EQ(text("Text2"), lookup(paste.kept));
    }
    window->click("Text1");
    window->type(u"NaCl");
    window->press({Key::Left, Key::Left});
    window->paste(u"OH\nH");
    EXPECT_EQ(text("Text1"), u"NaOHCl") << "pasted at the caret";
    window->press({Key::Undo});
    EXPECT_EQ(text("Text1"), u"NaCl") << "one undo takes the cut paste back";
}

TEST_F(Window, ScreenReadersNameEveryControlAndReadTheInput) {
    for (const form::Control& control : form::controls) {
        const Accessible seen = window->accessible(control.name);
        if (control.kind == form::Kind::TextBox) {
            EXPECT_EQ(seen.role, 42) << control.name;
            EXPECT_EQ(seen.value, text(control.name)) << control.name;
        } else {
            EXPECT_EQ(seen.name, control.text) << control.name << " is named by its text";
            EXPECT_TRUE(seen.role == (control.kind == form::Kind::Button ? 43 : 41) ||
                        (window->underWine() && seen.role == winesGenericRole))
                << control.name << " has role " << seen.role;
        }
    }
    EXPECT_EQ(window->accessible("Text1").name, u"化学式或名称");
    EXPECT_EQ(window->accessible("Text1").description, u"输入化学式或名称后按回车键查询")
        << "a hint, not the prompt again";
    EXPECT_EQ(window->accessible("Command2").description, u"在浏览器中打开作者的主页");
    EXPECT_EQ(window->accessible("Text2").name, u"查询结果") << "unlike every label";
    window->click("Text1");
    window->type(u"NaCl");
    EXPECT_EQ(window->accessible("Text1").value, u"NaCl");
}

// A blind pupil hears each answer at once, wherever the focus is, and nothing else is spoken
// unasked: not the not-found message that stands in the box while a lookup runs.
TEST_F(Window, EachLookupHasItsAnswerSpokenOnceAndKeepsTheFocus) {
    using Spoken = std::vector<std::u16string>;
    const struct {
        std::u16string_view typed;
        std::vector<Key> keys;  // none: a click on the button
        std::string_view focus;
        Spoken spoken;
    } lookups[] = {
        {u"Fe3O4", {Key::Enter}, "Text1", {u"四氧化三铁"}},
        {u"Fe3O4", {Key::Enter}, "Text1", {u"四氧化三铁"}},
        {u"Fe3O5", {Key::Enter}, "Text1", {notFound}},
        {u"水", {}, "Command1", {u"H2O"}},
        {u"NaCl", {Key::Tab, Key::Tab, Key::Enter}, "Text2", {u"氯化钠(食盐)"}},
        {u"", {Key::Enter}, "Text1", {}},
    };
    for (const auto& lookup : lookups) {
        window->click("Text1");
        window->type(lookup.typed);
        lookup.keys.empty() ? window->click("Command1") : window->press(lookup.keys);
        EXPECT_EQ(window->focus(), lookup.focus);
        if (const std::optional<Spoken> spoken = window->announced()) {
            EXPECT_EQ(*spoken, lookup.spoken) << std::string(lookup.focus);
        }
    }
    window->boxesDuring([&] {
        window->click("Command2");
        window->click("Command3");
        window->setText("Text2", u"answer");
    });
    if (const std::optional<Spoken> spoken = window->announced()) {
        EXPECT_EQ(*spoken, Spoken{});
    }
}

TEST_F(Window, ClosingEndsTheProgramWithoutAPrompt) {
    window->type(u"NaCl");
    EXPECT_TRUE(window->boxesDuring([&] { window->close(); }).empty());
    EXPECT_TRUE(window->ended());
}

TEST_F(Window, TheIconIsARedHeartOnWhiteWithStarsInItsUpperLeft) {
    const std::vector<form::Rgb> icon = window->icon();
    ASSERT_EQ(icon.size(), 32u * 32u);
    const auto at = [&](int x, int y) { return icon[static_cast<std::size_t>(y * 32 + x)]; };
    const auto isYellow = [](form::Rgb c) { return c.red > 200 && c.green > 120 && c.blue < 100; };
    for (const form::Rgb& corner : {at(0, 0), at(31, 0), at(0, 31), at(31, 31), at(16, 0)}) {
        EXPECT_EQ(corner.red + corner.green + corner.blue, 3 * 255) << "an opaque white ground";
    }
    const form::Rgb heart = at(16, 20);
    EXPECT_TRUE(heart.red > 150 && heart.green < 40 && heart.blue < 60) << "a red heart";
    const form::Rgb gloss = at(22, 7);
    EXPECT_TRUE(gloss.red > 230 && gloss.green > 150) << "a highlight, upper right";
    const form::Rgb star = at(8, 10);
    EXPECT_TRUE(star.red > 240 && star.green > 180 && star.blue < 30) << "a golden star";
    // The large star's middle and arms, then one pixel of each small star.
    for (auto [x, y] :
         {std::pair{8, 10}, {6, 10}, {10, 10}, {8, 8}, {13, 6}, {15, 8}, {15, 12}, {13, 15}}) {
        EXPECT_TRUE(isYellow(at(x, y))) << "no star at " << x << "," << y;
    }
    EXPECT_FALSE(isYellow(at(8, 6))) << "the large star's top point ends below row 6";
    std::set<int> colours;
    for (const form::Rgb& c : icon) {
        colours.insert(c.red << 16 | c.green << 8 | c.blue);
    }
    EXPECT_GE(colours.size(), 40u) << "a glossy heart is shaded, not flat";
    int yellow = 0;
    for (int i = 0; i < 32 * 32; ++i) {
        yellow += isYellow(icon[i]) ? 1 : 0;
        EXPECT_FALSE(isYellow(icon[i]) && (i % 32 > 16 || i / 32 > 16))
            << "yellow outside the upper left";
    }
    EXPECT_TRUE(yellow >= 22 && yellow <= 26) << yellow << " gold pixels, not about 25";
}

}  // namespace
}  // namespace talmiro::test
