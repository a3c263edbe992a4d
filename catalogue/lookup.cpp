#include "catalogue/lookup.h"

#include "catalogue/catalogue.h"

namespace talmiro {

std::u16string_view lookup(std::u16string_view input) {
    // Every row is visited and the last equal key wins. Keys are unique, but the empty key
    // repeats, and keeping the scan whole keeps that rule exact.
    std::u16string_view result = notFoundMessage;
    for (const CatalogueRow& row : catalogueRows()) {
        if (row.key == input) {
            result = row.value;
        }
    }
    return result;
}

}  // namespace talmiro
