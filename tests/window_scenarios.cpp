// What a user can see and do in the main window, run against each window through its driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "catalogue/lookup.h"
#include "tests/window_driver.h"
#include "ui/help.h"
#include "ui/home_page.h"
#include "ui/main_form.h"

namespace talmiro::test {
namespace {

const std::u16string prompt(form::inputPrompt);
const std::u16string notFound(notFoundMessage);

class Window : public ::testing::Test {
  protected:
    void tabTo(std::string_view name) {
        for (int i = 0; i < 6 && window->focus() != name; ++i) {
            window->press(Key::Tab);
        }
        ASSERT_EQ(window->focus(), name);
    }

    std::unique_ptr<WindowDriver> window = makeDriver();
};

TEST_F(Window, StartsWithThePromptSelectedInTheFocusedInput) {
    EXPECT_EQ(window->title(), u"Talmiro");
    EXPECT_EQ(window->text("Text1"), prompt);
    EXPECT_EQ(window->text("Text2"), u"");
    EXPECT_EQ(window->focus(), "Text1");
    window->type(u"NaCl");
    EXPECT_EQ(window->text("Text1"), u"NaCl");
}

TEST_F(Window, ControlsSitAtTheirPlacesAt96Dpi) {
    const struct {
        std::string_view name;
        Rect pixels;
    } places[] = {
        {form::windowName, {0, 0, 455, 301}}, {"Label1", {120, 16, 200, 28}},
        {"Label2", {0, 248, 177, 17}},        {"Text1", {16, 64, 257, 25}},
        {"Command1", {112, 104, 81, 25}},     {"Text2", {16, 144, 257, 25}},
        {"Label3", {304, 64, 137, 105}},      {"Command2", {72, 208, 89, 25}},
        {"Command3", {200, 208, 89, 25}},     {"Label4", {296, 272, 145, 17}},
        {"Label5", {0, 280, 225, 17}},
    };
    for (const auto& place : places) {
        EXPECT_EQ(window->place(place.name), place.pixels) << place.name;
    }
}

TEST_F(Window, LooksUpByEnterInEitherBoxByClickAndBySpace) {
    window->press(Key::Enter);
    EXPECT_EQ(window->text("Text2"), notFound) << "the untouched prompt is looked up as it is";

    const struct {
        const char* how;
        std::function<void()> press;
    } ways[] = {
        {"click", [&] { window->click("Command1"); }},
        {"Enter in Text1", [&] { window->press(Key::Enter); }},
        {"Enter in Text2",
         [&] {
             window->click("Text2");
             window->press(Key::Enter);
         }},
        {"Enter on the button",
         [&] {
             window->press(Key::Tab);
             window->press(Key::Enter);
         }},
        {"Space on the button",
         [&] {
             window->press(Key::Tab);
             window->press(Key::Space);
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        window->click("Text1");
        window->type(u"氯化钠");
        window->setText("Text2", u"previous answer");
        way.press();
        EXPECT_EQ(window->text("Text2"), u"NaCl");
        EXPECT_EQ(window->text("Text1"), u"氯化钠");
    }
    window->click("Text1");
    window->press(Key::Enter);
    EXPECT_EQ(window->text("Text2"), u"") << "an empty input empties the answer";
}

TEST_F(Window, EnterPressesTheButtonWithTheFocusHoweverItGotThere) {
    const struct {
        const char* button;
        const char* how;
        std::vector<Key> keys;
    } ways[] = {
        {"Command2", "Tab", {Key::Tab, Key::Tab, Key::Tab}},
        {"Command2", "Shift+Tab", {Key::ShiftTab, Key::ShiftTab}},
        {"Command2", "the mouse", {}},
        {"Command3", "Tab", {Key::Tab, Key::Tab, Key::Tab, Key::Tab}},
        {"Command3", "Shift+Tab", {Key::ShiftTab}},
        {"Command3", "the mouse", {}},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(std::string(way.button) + " reached by " + way.how);
        window = makeDriver();
        window->boxesDuring([&] {
            window->click("Text1");
            if (way.keys.empty()) {
                window->click(way.button);
            }
            for (Key key : way.keys) {
                window->press(key);
            }
        });
        ASSERT_EQ(window->focus(), way.button);
        window->setText("Text2", u"kept");
        const std::size_t requests = window->shell.requests.size();
        const bool isHelp = std::string_view(way.button) == "Command3";

        const auto boxes = window->boxesDuring([&] { window->press(Key::Enter); });
        EXPECT_EQ(boxes.size(), isHelp ? 1u : 0u);
        EXPECT_EQ(window->shell.requests.size(), requests + (isHelp ? 0 : 1));
        EXPECT_EQ(window->text("Text2"), u"kept");
    }
    window->setText("Text1", u"H2O");
    window->click("Text2");
    window->press(Key::Enter);
    EXPECT_EQ(window->text("Text2"), u"水") << "back in a text box, Enter looks up again";
}

TEST_F(Window, TabWalksTheFocusableControlsBothWaysAndLeavesTheTextAlone) {
    const std::vector<std::string> cycle{"Command1", "Text2", "Command2", "Command3", "Text1"};
    for (const std::string& name : cycle) {
        window->press(Key::Tab);
        EXPECT_EQ(window->focus(), name);
    }
    for (auto name = cycle.rbegin() + 1; name != cycle.rend(); ++name) {
        window->press(Key::ShiftTab);
        EXPECT_EQ(window->focus(), *name);
    }
    window->press(Key::ShiftTab);
    EXPECT_EQ(window->focus(), "Text1");
    EXPECT_EQ(window->text("Text1"), prompt);
}

TEST_F(Window, ArrowKeysOnAButtonStepAlongTheTabOrderAndNeverOntoALabel) {
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
        SCOPED_TRACE(std::string(step.from) + " to " + step.to);
        tabTo(step.from);
        window->press(step.key);
        EXPECT_EQ(window->focus(), step.to);
    }
}

TEST_F(Window, EscapeChangesNothing) {
    for (const char* focus : {"Text1", "Command1", "Command3"}) {
        tabTo(focus);
        window->press(Key::Escape);
        EXPECT_EQ(window->focus(), focus);
    }
    EXPECT_FALSE(window->ended());
    EXPECT_EQ(window->text("Text1"), prompt);
    EXPECT_EQ(window->text("Text2"), u"");
}

TEST_F(Window, EveryClickInTheInputEmptiesItButADragIsNoClick) {
    window->setText("Text2", u"answer");
    window->drag(face, "Text1");
    EXPECT_EQ(window->text("Text1"), prompt) << "pressed outside, released inside";

    window->click("Text1");
    EXPECT_EQ(window->text("Text1"), u"");
    EXPECT_EQ(window->focus(), "Text1");
    window->click("Text1");
    EXPECT_EQ(window->text("Text1"), u"");
    window->type(u"硫酸");
    window->click("Text1");
    EXPECT_EQ(window->text("Text1"), u"") << "a later click empties what was typed";

    window->type(u"硫酸");
    window->drag("Text1", face);
    EXPECT_EQ(window->text("Text1"), u"硫酸") << "pressed inside, released outside";
    window->doubleClick("Text1");
    EXPECT_EQ(window->text("Text1"), u"") << "each click of a double click counts";
    EXPECT_EQ(window->text("Text2"), u"answer");
}

TEST_F(Window, ClickingALabelDoesNothing) {
    window->setText("Text2", u"answer");
    for (const form::Control& control : form::controls) {
        if (control.kind == form::Kind::Label) {
            EXPECT_TRUE(window->boxesDuring([&] { window->click(control.name); }).empty());
            EXPECT_EQ(window->focus(), "Text1") << control.name;
        }
    }
    EXPECT_EQ(window->text("Text1"), prompt);
    EXPECT_EQ(window->text("Text2"), u"answer");
    EXPECT_TRUE(window->shell.requests.empty());
}

TEST_F(Window, HelpIsAModalBoxWithTheHelpTextAndOneChineseOkButton) {
    window->setText("Text1", u"NaCl");
    window->setText("Text2", u"answer");
    for (int time = 0; time < 2; ++time) {
        bool windowTookInput = true;
        const auto boxes = window->boxesDuring([&] { window->click("Command3"); },
                                               [&] { windowTookInput = window->takesInput(); });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, helpTitle);
        EXPECT_EQ(boxes[0].text, helpText);
        EXPECT_EQ(boxes[0].buttons, std::vector<std::u16string>{u"确定"});
        EXPECT_FALSE(boxes[0].hasIcon);
        EXPECT_FALSE(windowTookInput);
    }
    EXPECT_TRUE(window->takesInput());
    EXPECT_EQ(window->text("Text1"), u"NaCl");
    EXPECT_EQ(window->text("Text2"), u"answer");
}

TEST_F(Window, TheHomePageButtonHandsTheAddressToTheShellOncePerClick) {
    window->setText("Text1", u"NaCl");
    const auto boxes = window->boxesDuring([&] {
        window->click("Command2");
        window->click("Command2");
    });
    EXPECT_TRUE(boxes.empty());
    const fake::Shell::Request request{window->handle(), "Open", std::string(homePageAddress)};
    EXPECT_EQ(window->shell.requests, (std::vector{request, request}));
    EXPECT_EQ(window->text("Text1"), u"NaCl");
    EXPECT_EQ(window->text("Text2"), u"");
}

TEST_F(Window, AnErrorInAHandlerIsReportedAndTheWindowCarriesOn) {
    window->shell.fail = true;
    const auto boxes = window->boxesDuring([&] { window->click("Command2"); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, runtimeErrorTitle);
    EXPECT_EQ(boxes[0].text, std::u16string(runtimeErrorPrefix) + u"shell unavailable");
    window->click("Command1");
    EXPECT_EQ(window->text("Text2"), notFound);
}

TEST_F(Window, APasteStopsAtItsFirstLineBreakAndAtTheBoxLimit) {
    const std::u16string huge(std::size_t{25} << 20, u'氯');  // 50 MiB of UTF-16
    const struct {
        const char* what;
        std::u16string pasted;
        std::u16string kept;
    } pastes[] = {
        {"CR LF", u"Fe3O4\r\nFeO", u"Fe3O4"},
        {"LF", u"Fe3O4\nFeO", u"Fe3O4"},
        {"CR", u"Fe3O4\rFeO", u"Fe3O4"},
        {"a break first", u"\nFe3O4", u""},
        {"50 MiB", huge, huge.substr(0, 32767)},
        {"unusual code units", u"\xD800Na\U0001F600\u202E\u0301\t",
         u"\xD800Na\U0001F600\u202E\u0301\t"},
    };
    for (const auto& paste : pastes) {
        SCOPED_TRACE(paste.what);
        window->click("Text1");
        window->paste(paste.pasted);
        EXPECT_TRUE(window->text("Text1") == paste.kept);
        window->press(Key::Enter);
        EXPECT_EQ(window->text("Text2"), lookup(paste.kept));
    }
    window->click("Text1");
    window->type(u"NaCl");
    window->press(Key::Left);
    window->press(Key::Left);
    window->paste(u"OH\nH");
    EXPECT_EQ(window->text("Text1"), u"NaOHCl") << "pasted at the caret";
}

TEST_F(Window, ClosingEndsTheProgramWithoutAPrompt) {
    window->type(u"NaCl");
    EXPECT_TRUE(window->boxesDuring([&] { window->close(); }).empty());
    EXPECT_TRUE(window->ended());
}

bool isYellow(form::Rgb c) {
    return c.red > 200 && c.green > 120 && c.blue < 100;
}

// The sizes of the yellow blobs (4-connected) of at least two pixels.
std::vector<int> yellowBlobs(const std::vector<form::Rgb>& pixels) {
    std::vector<bool> seen(pixels.size());
    std::vector<int> sizes;
    for (int start = 0; start < 32 * 32; ++start) {
        std::vector<int> todo{start};
        int size = 0;
        while (!todo.empty()) {
            const int at = todo.back();
            todo.pop_back();
            if (seen[at] || !isYellow(pixels[at])) {
                continue;
            }
            seen[at] = true;
            ++size;
            for (int next :
                 {at - 32, at + 32, at % 32 > 0 ? at - 1 : -1, at % 32 < 31 ? at + 1 : -1}) {
                if (next >= 0 && next < 32 * 32) {
                    todo.push_back(next);
                }
            }
        }
        if (size >= 2) {
            sizes.push_back(size);
        }
    }
    return sizes;
}

TEST_F(Window, TheIconIsARedHeartOnWhiteWithOneLargeAndFourSmallStarsUpperLeft) {
    const std::vector<form::Rgb> icon = window->icon();
    ASSERT_EQ(icon.size(), 32u * 32u);
    const auto at = [&](int x, int y) { return icon[static_cast<std::size_t>(y * 32 + x)]; };
    for (const form::Rgb& corner : {at(0, 0), at(31, 0), at(0, 31), at(31, 31), at(16, 0)}) {
        EXPECT_EQ(corner.red + corner.green + corner.blue, 3 * 255) << "white ground";
    }
    const form::Rgb heart = at(16, 20);
    EXPECT_TRUE(heart.red > 150 && heart.green < 40 && heart.blue < 60) << "red heart";
    const form::Rgb gloss = at(22, 7);
    EXPECT_TRUE(gloss.red > 230 && gloss.green > 150) << "a highlight, upper right";
    std::vector<int> blobs = yellowBlobs(icon);
    std::ranges::sort(blobs);
    ASSERT_EQ(blobs.size(), 5u);
    EXPECT_GE(blobs.back(), 10);
    EXPECT_LE(blobs[3], 4);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            EXPECT_FALSE((x >= 17 || y >= 17) && isYellow(at(x, y)))
                << "yellow outside the upper left at " << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace talmiro::test
