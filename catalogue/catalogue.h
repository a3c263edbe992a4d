#pragma once

#include <span>
#include <string_view>

namespace talmiro {

// One key/value pair of the formula catalogue: a formula leading to a name, or a name leading
// to a formula. Texts are UTF-16 so that equality is a code-unit comparison.
struct CatalogueRow {
    std::u16string_view key;
    std::u16string_view value;
};

// All 259 rows in scan order; the views point at static storage and never dangle.
std::span<const CatalogueRow> catalogueRows();

}  // namespace talmiro
