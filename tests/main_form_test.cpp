#include "ui/main_form.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/lookup.h"
#include "ui/help.h"
#include "ui/home_page.h"

namespace talmiro {
namespace {

class Field : public TextField {
  public:
    explicit Field(std::u16string text) : text_(std::move(text)) {}
    std::u16string text() const override {
        if (gone) {
            throw std::runtime_error("text box is gone");
        }
        return text_;
    }
    void setText(std::u16string_view text) override {
        if (gone) {
            throw std::runtime_error("text box is gone");
        }
        text_ = text;
    }
    bool gone = false;

  private:
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
    void show(std::u16string_view title, std::u16string_view text) override {
        if (broken) {
            throw std::runtime_error("no message box");
        }
        shown.push_back({std::u16string(title), std::u16string(text)});
    }
    struct Shown {
        std::u16string title;
        std::u16string text;
    };
    std::vector<Shown> shown;
    bool broken = false;
};

struct RecordingShell : Shell {
    void open(NativeHandle owner, std::string_view verb, std::string_view item) override {
        requests.push_back({owner, std::string(verb), std::string(item)});
    }
    struct Request {
        NativeHandle owner;
        std::string verb;
        std::string item;
        bool operator==(const Request&) const = default;
    };
    std::vector<Request> requests;
};

class MainFormTest : public ::testing::Test {
  protected:
    Field text1{u"在此输入你要查询的化学式或化学式名称"};
    Field text2{u""};
    Window window;
    Messages messages;
    RecordingShell shell;
    MainForm form{text1, text2, window, messages, shell};
};

TEST_F(MainFormTest, HandlersDoTheirOneThing) {
    form.dispatch(&MainForm::Command1_Click);
    EXPECT_EQ(text2.text(), notFoundMessage);

    form.dispatch(&MainForm::Text1_Click);
    EXPECT_EQ(text1.text(), u"");
    EXPECT_EQ(text2.text(), notFoundMessage);

    form.dispatch(&MainForm::Command3_Click);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, helpTitle);
    EXPECT_EQ(messages.shown[0].text, helpText);

    form.dispatch(&MainForm::Command2_Click);
    form.dispatch(&MainForm::Command2_Click);
    const RecordingShell::Request expected{0x5151, "Open", std::string(homePageAddress)};
    EXPECT_EQ(shell.requests, (std::vector{expected, expected}));
    EXPECT_EQ(text1.text(), u"");
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MainFormTest, AnErrorEscapingAHandlerIsReportedAndTheFormCarriesOn) {
    window.failure = "窗口句柄无效";
    form.dispatch(&MainForm::Command2_Click);
    EXPECT_TRUE(shell.requests.empty()) << "the handle is read before anything reaches the shell";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, runtimeErrorTitle);
    EXPECT_EQ(messages.shown[0].text, std::u16string(runtimeErrorPrefix) + u"窗口句柄无效");

    text1.gone = true;
    form.dispatch(&MainForm::Text1_Click);
    form.dispatch(&MainForm::Command1_Click);
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(text2.text(), notFoundMessage);
}

TEST_F(MainFormTest, ErrorTextsThatAreNotValidUtf8StillShowEverythingElse) {
    const struct {
        std::string what;
        std::u16string shown;
    } cases[] = {
        {"bad \xFF byte", u"bad \uFFFD byte"},
        {"cut \xE4\xB8", u"cut \uFFFD\uFFFD"},
        {"overlong \xC0\xAF", u"overlong \uFFFD\uFFFD"},
        {"surrogate \xED\xA0\x80", u"surrogate \uFFFD\uFFFD\uFFFD"},
        {"emoji \xF0\x9F\x98\x80", u"emoji \U0001F600"},
    };
    for (const auto& c : cases) {
        window.failure = c.what;
        form.dispatch(&MainForm::Command2_Click);
        EXPECT_EQ(messages.shown.back().text, std::u16string(runtimeErrorPrefix) + c.shown);
    }
}

TEST_F(MainFormTest, AFailingErrorReportDoesNotEscapeEither) {
    messages.broken = true;
    window.failure = "gone";
    EXPECT_NO_THROW(form.dispatch(&MainForm::Command2_Click));
    EXPECT_NO_THROW(form.dispatch(&MainForm::Command3_Click));
}

TEST(HelpText, IsOneLineInItsFixedFrame) {
    EXPECT_TRUE(helpText.starts_with(u"帮助  软件名: Talmiro  制作者: "));
    EXPECT_TRUE(helpText.ends_with(u"2、2.0版本修正了1.0版本的一些错误并且加入了一些化学式。"));
    EXPECT_EQ(helpText.find_first_of(u"\r\n"), std::u16string_view::npos);
    // The contact number follows "QQ" directly and is followed by one blank only.
    const std::size_t qq = helpText.find(u"请联系我的QQ");
    ASSERT_NE(qq, std::u16string_view::npos);
    std::size_t end = qq + 7;
    while (end < helpText.size() && helpText[end] >= u'0' && helpText[end] <= u'9') {
        ++end;
    }
    EXPECT_GT(end, qq + 7);
    EXPECT_EQ(helpText.substr(end, 4), u" 注意：");
    EXPECT_NE(helpText.find(u"（如Fe3O4，则下面出现的是四氧化三铁)，"), std::u16string_view::npos);
}

}  // namespace
}  // namespace talmiro
