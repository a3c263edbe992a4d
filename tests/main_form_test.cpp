#include "ui/main_form.h"

#include <gtest/gtest.h>

#include "catalogue/lookup.h"
#include "tests/fakes.h"
#include "ui/help.h"

namespace talmiro {
namespace {

// The handlers' failure paths, which no working window can produce.
class MainFormTest : public ::testing::Test {
  protected:
    std::u16string shownError() const {
        return messages.shown.empty() ? u"" : messages.shown.back().text;
    }

    fake::Field text1{u"NaCl"};
    fake::Field text2{u"earlier answer"};
    fake::Window window;
    fake::Messages messages;
    fake::Shell shell;
    MainForm form{text1, text2, window, messages, shell};
};

TEST_F(MainFormTest, TheLookupShowsNotFoundFirstThenTheAnswer) {
    form.Command1_Click();
    EXPECT_EQ(text2.sets,
              (std::vector<std::u16string>{std::u16string(notFoundMessage), u"氯化钠(食盐)"}));
    EXPECT_TRUE(text1.sets.empty());
}

TEST_F(MainFormTest, AFailingStepStopsTheLookupThereAndIsReported) {
    const struct {
        const char* step;
        bool failRead;
        int failOnSet;
        std::u16string_view text2After;
    } steps[] = {
        {"showing not-found", false, 1, u"earlier answer"},
        {"reading Text1", true, 0, notFoundMessage},
        {"showing the answer", false, 2, notFoundMessage},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        text1.failRead = step.failRead;
        text2 = fake::Field(u"earlier answer");
        text2.failOnSet = step.failOnSet;
        form.dispatch(&MainForm::Command1_Click);
        EXPECT_EQ(text2.shown(), step.text2After);
        EXPECT_EQ(shownError(), std::u16string(runtimeErrorPrefix) + u"text box is gone");
        EXPECT_EQ(messages.shown.back().title, runtimeErrorTitle);
    }
}

TEST_F(MainFormTest, AnUnreadableWindowHandleStopsTheLauncherBeforeTheShell) {
    window.failure = "窗口句柄无效";
    form.dispatch(&MainForm::Command2_Click);
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_EQ(shownError(), std::u16string(runtimeErrorPrefix) + u"窗口句柄无效");
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
        {"beyond \xF4\x90\x80\x80", u"beyond \uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xC3\xA9 \xE6\xB0\xAF \xF0\x9F\x98\x80", u"é 氯 \U0001F600"},
    };
    for (const auto& c : cases) {
        window.failure = c.what;
        form.dispatch(&MainForm::Command2_Click);
        EXPECT_EQ(shownError(), std::u16string(runtimeErrorPrefix) + c.shown);
    }
}

TEST_F(MainFormTest, AFailingErrorReportDoesNotEscapeEither) {
    messages.broken = true;
    text1.failRead = true;
    EXPECT_NO_THROW(form.dispatch(&MainForm::Command1_Click));
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
