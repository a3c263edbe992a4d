#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "catalogue/lookup.h"

namespace talmiro {
namespace {

bool isFormulaUnit(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
           c == u'(' || c == u')' || c == u'\u00B7';
}
bool isIdeograph(char16_t c) {
    return c >= u'\u4E00' && c <= u'\u9FFF';
}

// Every substance answers both ways: its formula with its name (and a note in parentheses
// where it has one), its name with its formula; no key shadows another.
TEST(Catalogue, HoldsEachOf117SubstancesOnceInBothDirections) {
    std::set<std::u16string_view> formulas;
    std::set<std::u16string_view> names;
    for (const CatalogueRow& row : catalogueRows()) {
        if (row.key.empty()) {
            EXPECT_TRUE(row.value.empty());
        } else if (std::ranges::all_of(row.key, isFormulaUnit)) {
            EXPECT_TRUE(formulas.insert(row.key).second) << "a formula twice";
            EXPECT_TRUE(lookup(row.value.substr(0, row.value.find_first_of(u"(（"))) == row.key);
        } else {
            EXPECT_TRUE(std::ranges::all_of(row.key, isIdeograph));
            EXPECT_TRUE(names.insert(row.key).second) << "a name twice";
            EXPECT_TRUE(lookup(row.value).starts_with(row.key));
        }
    }
    EXPECT_EQ(formulas.size(), 117u);
    EXPECT_EQ(names.size(), 117u);
}

// The rows the catalogue is known by, one by one: a name misspelt alike in both of its rows
// would pass the check above.
TEST(Catalogue, KeepsItsPinnedRowsInPlace) {
    const struct {
        std::size_t number;
        std::u16string_view key, value;
    } pinned[] = {
        {1, u"H2", u"氢气"},         {114, u"NH3", u"氨"},         {115, u"氨", u"NH3"},
        {121, u"硫酸钠", u"Na2SO4"}, {122, u"氢气", u"H2"},        {227, u"磷酸二氢钾", u"KH2PO4"},
        {228, u"过氧化氢", u"H2O2"}, {229, u"过氧化钠", u"Na2O2"}, {234, u"C2H8N2", u"偏二甲肼"},
    };
    const auto rows = catalogueRows();
    ASSERT_EQ(rows.size(), 259u);
    for (const auto& [number, key, value] : pinned) {
        EXPECT_TRUE(rows[number - 1].key == key && rows[number - 1].value == value) << number;
    }
    for (std::size_t number = 235; number <= 259; ++number) {
        EXPECT_TRUE(rows[number - 1].key.empty() && rows[number - 1].value.empty()) << number;
    }
}

}  // namespace
}  // namespace talmiro
