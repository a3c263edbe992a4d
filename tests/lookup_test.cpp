#include "catalogue/lookup.h"

#include <gtest/gtest.h>

#include <string>

namespace talmiro {
namespace {

using namespace std::string_view_literals;

TEST(Lookup, AnswersTheOtherHalfOfAnExactKeyAndFoldsNothing) {
    const std::u16string_view notFound = u"未找到记录!请与作者联系!";
    const struct {
        std::u16string_view input;
        std::u16string_view expected;
    } cases[] = {
        {u"Fe3O4", u"四氧化三铁"},
        {u"四氧化三铁", u"Fe3O4"},
        {u"NaCl", u"氯化钠(食盐)"},         // ASCII parentheses
        {u"Fe2O3", u"三氧化二铁（铁红）"},  // full-width ones
        {u"H2", u"氢气"},                   // the first row
        {u"偏二甲肼", u"C2H8N2"},           // the last substance
        {u"碳酸钠晶体", u"Na2CO3\u00B710H2O"},
        {u"", u""},
        {u"氯化钠(食盐)", notFound},  // an answer is no key
        {u"nacl", notFound},
        {u"NaCl ", notFound},
        {u"\uFF2E\uFF41\uFF23\uFF4C", notFound},  // full-width letters
        {u"CuSO4.5H2O", notFound},
        {u"H\u2082O", notFound},
        {u"Na\0Cl"sv, notFound},
        {u"NaCl\0"sv, notFound},
        {u"\xD800"sv, notFound},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lookup(c.input), c.expected) << "input of " << c.input.size() << " code units";
    }
}

}  // namespace
}  // namespace talmiro
