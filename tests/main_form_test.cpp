#include "ui/main_form.h"

#include <gtest/gtest.h>

#include "catalogue/lookup.h"
#include "tests/fakes.h"

namespace talmiro {
namespace {

// The handlers' failures, which no working window can produce: each stops its handler at the
// failing step and is reported in a box, and the program carries on.
class MainFormTest : public ::testing::Test {
  protected:
    void SetUp() override { text1.shown = u"NaCl"; }
    std::u16string error(std::u16string_view description) {
        return std::u16string(runtimeErrorPrefix) + std::u16string(description);
    }
    std::pair<std::u16string, std::u16string> lastShown() {
        return messages.shown.empty() ? std::pair<std::u16string, std::u16string>{}
                                      : messages.shown.back();
    }

    fake::Field text1;
    fake::Field text2;
    fake::Window window;
    fake::Messages messages;
    fake::Shell shell;
    fake::Announcer announcer;
    MainForm form{text1, text2, window, messages, shell, announcer};
};

// A screen reader hears only an answer the box really shows.
TEST_F(MainFormTest, AFailingStepStopsTheLookupThereAndNothingIsSpoken) {
    const struct {
        bool failRead;
        int failOnSet;
        std::u16string_view text2After;
    } steps[] = {
        {false, 1, u"earlier answer"},  // showing the not-found message
        {true, 0, notFoundMessage},     // reading Text1
        {false, 2, notFoundMessage},    // showing the answer
        {false, 0, u"氯化钠(食盐)"},
    };
    for (const auto& step : steps) {
        text1.failRead = step.failRead;
        text2.shown = u"earlier answer";
        text2.sets = 0;
        text2.failOnSet = step.failOnSet;
        announcer.spoken.clear();
        form.dispatch(&MainForm::Command1_Click);
        EXPECT_EQ(text2.shown, step.text2After);
        EXPECT_EQ(announcer.spoken, step.failOnSet || step.failRead
                                        ? std::vector<std::u16string>{}
                                        : std::vector<std::u16string>{text2.shown});
    }
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0],
              std::pair(std::u16string(runtimeErrorTitle), error(u"text box is gone")));
}

TEST_F(MainFormTest, AnUnreadableWindowHandleStopsTheLauncherBeforeTheShell) {
    window.failure = "窗口句柄无效";
    form.dispatch(&MainForm::Command2_Click);
    EXPECT_TRUE(shell.requests.empty());
    EXPECT_EQ(lastShown().second, error(u"窗口句柄无效"));
}

// Error texts are the program's own literals, in UTF-8; a stray byte shows as one mark and
// the rest of the text stays.
TEST_F(MainFormTest, ErrorTextsShowWhateverTheyHold) {
    const struct {
        std::string what;
        std::u16string shown;
    } cases[] = {
        {"bad \xFF byte, cut \xE4\xB8", u"bad \uFFFD byte, cut \uFFFD\uFFFD"},
        {"\xC3\xA9 \xE6\xB0\xAF \xF0\x9F\x98\x80", u"é 氯 \U0001F600"},
    };
    for (const auto& c : cases) {
        window.failure = c.what;
        form.dispatch(&MainForm::Command2_Click);
        EXPECT_EQ(lastShown().second, error(c.shown));
    }
}

// A failure that is no exception at all is reported too, as an unknown error.
TEST_F(MainFormTest, AFailureOfNoKnownKindIsReportedAsUnknown) {
    struct OddShell : Shell {
        void open(NativeHandle, std::string_view, std::string_view) override { throw 42; }
    } odd;
    MainForm withOddShell{text1, text2, window, messages, odd, announcer};
    withOddShell.dispatch(&MainForm::Command2_Click);
    EXPECT_EQ(lastShown().second, error(u"未知错误"));
}

TEST_F(MainFormTest, AFailingErrorReportDoesNotEscapeEither) {
    messages.broken = true;
    text1.failRead = true;
    EXPECT_NO_THROW(form.dispatch(&MainForm::Command1_Click));
    EXPECT_NO_THROW(form.dispatch(&MainForm::Command3_Click));
}

}  // namespace
}  // namespace talmiro
