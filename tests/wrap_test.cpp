#include "ui/win32/wrap.h"

#include <gtest/gtest.h>

#include "ui/form.h"

namespace talmiro::win32 {
namespace {

// A 12-point song face at 96 dpi: ideographs and full-width signs 16 px, everything else 8 px.
int songWidth(std::u16string_view text) {
    int width = 0;
    for (char16_t c : text) {
        width += c >= u'\u2E80' ? 16 : 8;
    }
    return width;
}

using Lines = std::vector<std::u16string_view>;

TEST(WrapLines, TheNoticeHeadingStandsAloneAboveTheSentence) {
    const form::Control& notice = form::control("Label3");
    const Lines lines = wrapLines(notice.text, 137, songWidth);
    const Lines expected = {u"     声明",        u"本软件暂时适用于", u"九年级学生使用，",
                            u"可查询的是九年级", u"常见的化学式，以", u"后将继续更新。"};
    EXPECT_EQ(lines, expected);
}

TEST(WrapLines, BreaksWhereChineseAndWesternTextAllow) {
    const struct {
        const char* rule;
        std::u16string_view text;
        int width;
        Lines expected;
    } cases[] = {
        {"fits on one line", u"版权所有,侵权必究", 145, {u"版权所有,侵权必究"}},
        {"closing punctuation never starts a line", u"甲乙丙，丁", 48, {u"甲乙", u"丙，丁"}},
        {"blanks hang at the break", u"ab   cd", 32, {u"ab", u"cd"}},
        {"a western word stays whole", u"abcd efgh", 56, {u"abcd", u"efgh"}},
        {"an unbreakable word is cut", u"abcdefgh", 32, {u"abcd", u"efgh"}},
        {"too narrow for anything still advances", u"甲乙", 4, {u"甲", u"乙"}},
        {"empty text has no lines", u"", 100, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wrapLines(c.text, c.width, songWidth), c.expected) << c.rule;
    }
}

}  // namespace
}  // namespace talmiro::win32
