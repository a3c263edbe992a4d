#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string_view>

namespace talmiro {
namespace {

using namespace std::string_view_literals;

bool isFormulaUnit(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'(' || c == u')' || c == u'\u00B7';
}
bool isIdeograph(char16_t c) {
    return c >= u'\u4E00' && c <= u'\u9FFF';
}

TEST(Catalogue, RowsAtTheSeamsOfTheScanOrder) {
    struct Seam {
        std::size_t number;  // 1-based, as the rows are counted in scan order
        std::u16string_view key;
        std::u16string_view value;
    };
    const Seam seams[] = {
        {1, u"H2", u"氢气"},
        {2, u"H2O2", u"过氧化氢"},
        {3, u"C", u"碳"},
        {113, u"ZnSO4", u"硫酸锌"},
        {114, u"NH3", u"氨"},
        {115, u"氨", u"NH3"},
        {116, u"硝酸汞", u"Hg(NO3)2"},
        {120, u"硫酸锌", u"ZnSO4"},
        {121, u"硫酸钠", u"Na2SO4"},
        {122, u"氢气", u"H2"},
        {123, u"碳", u"C"},
        {227, u"磷酸二氢钾", u"KH2PO4"},
        {228, u"过氧化氢", u"H2O2"},
        {229, u"过氧化钠", u"Na2O2"},
        {230, u"Na2O2", u"过氧化钠"},
        {231, u"偏铝酸钠", u"NaAlO2"},
        {232, u"NaAlO2", u"偏铝酸钠"},
        {233, u"偏二甲肼", u"C2H8N2"},
        {234, u"C2H8N2", u"偏二甲肼"},
    };
    const auto rows = catalogueRows();
    ASSERT_EQ(rows.size(), 259u);
    for (const Seam& seam : seams) {
        SCOPED_TRACE(seam.number);
        EXPECT_EQ(rows[seam.number - 1].key, seam.key);
        EXPECT_EQ(rows[seam.number - 1].value, seam.value);
    }
}

TEST(Catalogue, EndsWithTwentyFiveEmptyRowsAndHasNoOthers) {
    const auto rows = catalogueRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const bool inEmptyTail = i >= 234;
        EXPECT_EQ(rows[i].key.empty(), inEmptyTail);
        EXPECT_EQ(rows[i].value.empty(), inEmptyTail);
    }
}

TEST(Catalogue, NonEmptyKeysAreUnique) {
    std::set<std::u16string_view> keys;
    for (const CatalogueRow& row : catalogueRows()) {
        if (!row.key.empty()) {
            EXPECT_TRUE(keys.insert(row.key).second) << "duplicate key";
        }
    }
    EXPECT_EQ(keys.size(), 234u);
}

TEST(Catalogue, KeysAreEitherFormulasOrNamesInTheirOwnAlphabet) {
    int formulas = 0;
    int names = 0;
    for (const CatalogueRow& row : catalogueRows()) {
        if (row.key.empty()) {
            continue;
        }
        EXPECT_LE(row.key.size(), 15u);
        EXPECT_LE(row.value.size(), 15u);
        if (std::ranges::all_of(row.key, isFormulaUnit)) {
            ++formulas;
            EXPECT_TRUE(std::ranges::any_of(row.value, isIdeograph));
        } else {
            ++names;
            EXPECT_TRUE(std::ranges::all_of(row.key, isIdeograph));
            EXPECT_TRUE(std::ranges::all_of(row.value, isFormulaUnit));
        }
    }
    EXPECT_EQ(formulas, 117);
    EXPECT_EQ(names, 117);
}

TEST(Catalogue, ShownTextsKeepTheirOwnParentheses) {
    const auto rows = catalogueRows();
    const auto valueOf = [&](std::u16string_view key) {
        const auto row = std::ranges::find(rows, key, &CatalogueRow::key);
        return row == rows.end() ? u"<missing>"sv : row->value;
    };
    EXPECT_EQ(valueOf(u"Fe2O3"), u"三氧化二铁\uFF08铁红\uFF09"sv);
    EXPECT_EQ(valueOf(u"NaCl"), u"氯化钠\u0028食盐\u0029"sv);
    EXPECT_EQ(valueOf(u"三氧化二铁"), u"Fe2O3"sv);
    EXPECT_EQ(valueOf(u"氯化钠"), u"NaCl"sv);
}

TEST(Catalogue, HydratesUseTheMiddleDotOnce) {
    const std::u16string_view hydrates[] = {
        u"CaSO4\u00B72H2O", u"CaSO4\u00B7H2O",  u"KAl(SO4)2\u00B712H2O",
        u"FeSO4\u00B77H2O", u"CuSO4\u00B75H2O", u"Na2CO3\u00B710H2O",
    };
    int withDot = 0;
    for (const CatalogueRow& row : catalogueRows()) {
        withDot += static_cast<int>(std::ranges::count(row.key, u'\u00B7'));
    }
    EXPECT_EQ(withDot, 6);
    const auto rows = catalogueRows();
    for (std::u16string_view hydrate : hydrates) {
        EXPECT_NE(std::ranges::find(rows, hydrate, &CatalogueRow::key), rows.end())
            << "missing hydrate";
    }
}

}  // namespace
}  // namespace talmiro
