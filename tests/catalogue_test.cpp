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

}  // namespace
}  // namespace talmiro
