#include "catalogue/lookup.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/catalogue.h"

namespace talmiro {
namespace {

using namespace std::string_view_literals;

TEST(Lookup, NotFoundMessageUsesAsciiExclamationMarks) {
    EXPECT_EQ(notFoundMessage.size(), 13u);
    EXPECT_EQ(notFoundMessage[5], u'!');
    EXPECT_EQ(notFoundMessage[12], u'!');
    EXPECT_EQ(notFoundMessage.find(u'\uFF01'), std::u16string_view::npos);
}

TEST(Lookup, EveryKeyGivesItsRowsValue) {
    for (const CatalogueRow& row : catalogueRows()) {
        EXPECT_EQ(lookup(row.key), row.value);
    }
}

TEST(Lookup, AnswersExactlyAndFoldsNothing) {
    struct Case {
        std::u16string_view input;
        std::u16string_view expected;
    };
    const std::u16string_view notFound = notFoundMessage;
    const Case cases[] = {
        {u"Fe3O4", u"四氧化三铁"},
        {u"四氧化三铁", u"Fe3O4"},
        {u"NaCl", u"氯化钠(食盐)"},
        {u"氯化钠", u"NaCl"},
        {u"Fe2O3", u"三氧化二铁（铁红）"},
        {u"三氧化二铁", u"Fe2O3"},
        {u"H2O", u"水"},
        {u"碳酸钠晶体", u"Na2CO3\u00B710H2O"},
        {u"", u""},
        // Shown texts are answers, not keys.
        {u"氯化钠(食盐)", notFound},
        {u"三氧化二铁（铁红）", notFound},
        {u"三氧化二铁(铁红)", notFound},
        // Case.
        {u"nacl", notFound},
        {u"NACL", notFound},
        {u"Co", notFound},
        {u"co", notFound},
        // Blanks anywhere count.
        {u"NaCl ", notFound},
        {u" NaCl", notFound},
        {u" ", notFound},
        {u"Na Cl", notFound},
        {u"\u3000", notFound},
        // Full-width letters and look-alike dots and digits.
        {u"\uFF2E\uFF41\uFF23\uFF4C", notFound},
        {u"CuSO4.5H2O", notFound},
        {u"CuSO4\u30FB5H2O", notFound},
        {u"CuSO4\u20225H2O", notFound},
        {u"H\u2082O", notFound},
        // The start-up prompt is looked up like any other text.
        {u"在此输入你要查询的化学式或化学式名称", notFound},
        // U+0000 is an ordinary code unit, never a terminator.
        {u"\0"sv, notFound},
        {u"NaCl\0"sv, notFound},
        {u"Na\0Cl"sv, notFound},
        {u"\0NaCl"sv, notFound},
        // Lone surrogates and supplementary characters are just code units that match nothing.
        {u"\xD800"sv, notFound},
        {u"NaCl\xDC00"sv, notFound},
        {u"\U0001F600", notFound},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lookup(c.input), c.expected) << "input of " << c.input.size() << " code units";
    }
}

TEST(Lookup, AMegabyteBeginningWithAKeyIsNotFound) {
    std::u16string pasted(std::size_t{1} << 20, u'a');
    pasted.replace(0, 4, u"NaCl");
    EXPECT_EQ(lookup(pasted), notFoundMessage);
}

}  // namespace
}  // namespace talmiro
