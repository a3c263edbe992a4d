#include "catalogue/catalogue.h"

#include <array>
#include <cstddef>

namespace talmiro {
namespace {

struct Substance {
    std::u16string_view formula;
    std::u16string_view name;
    // What the formula row shows when it is more than the bare name.
    std::u16string_view shownName = {};

    constexpr CatalogueRow formulaRow() const {
        return {formula, shownName.empty() ? name : shownName};
    }
    constexpr CatalogueRow nameRow() const { return {name, formula}; }
};

// Numbered from 1 in the order listed; the row order below refers to them by number.
constexpr std::array<Substance, 117> substances{{
    {u"H2", u"氢气"},
    {u"H2O2", u"过氧化氢"},
    {u"C", u"碳"},
    {u"N2", u"氮气"},
    {u"O2", u"氧气"},
    {u"P", u"磷"},
    {u"S", u"硫"},
    {u"Cl2", u"氯气"},
    {u"Na", u"钠"},
    {u"Mg", u"镁"},
    {u"Al", u"铝"},
    {u"K", u"钾"},
    {u"Ca", u"钙"},
    {u"Fe", u"铁"},
    {u"Zn", u"锌"},
    {u"Cu", u"铜"},
    {u"Ba", u"钡"},
    {u"W", u"钨"},
    {u"Hg", u"汞"},
    {u"H2O", u"水"},
    {u"CO", u"一氧化碳"},
    {u"CO2", u"二氧化碳"},
    {u"P2O5", u"五氧化二磷"},
    {u"Na2O", u"氧化钠"},
    {u"NO2", u"二氧化氮"},
    {u"SiO2", u"二氧化硅"},
    {u"SO2", u"二氧化硫"},
    {u"SO3", u"三氧化硫"},
    {u"NO", u"一氧化氮"},
    {u"MgO", u"氧化镁"},
    {u"CuO", u"氧化铜"},
    {u"BaO", u"氧化钡"},
    {u"Cu2O", u"氧化亚铜"},
    {u"FeO", u"氧化亚铁"},
    {u"Fe2O3", u"三氧化二铁", u"三氧化二铁（铁红）"},
    {u"Fe3O4", u"四氧化三铁"},
    {u"Al2O3", u"三氧化二铝"},
    {u"WO3", u"三氧化钨"},
    {u"Ag2O", u"氧化银"},
    {u"PbO", u"氧化铅"},
    {u"MnO2", u"二氧化锰"},
    {u"KCl", u"氯化钾"},
    {u"MgCl2", u"氯化镁"},
    {u"NaCl", u"氯化钠", u"氯化钠(食盐)"},
    {u"CaCl2", u"氯化钙"},
    {u"CuCl2", u"氯化铜"},
    {u"ZnCl2", u"氯化锌"},
    {u"BaCl2", u"氯化钡"},
    {u"AlCl3", u"氯化铝"},
    {u"FeCl2", u"氯化亚铁"},
    {u"FeCl3", u"氯化铁"},
    {u"AgCl", u"氯化银"},
    {u"H2SO4", u"硫酸"},
    {u"HCl", u"盐酸"},
    {u"HNO3", u"硝酸"},
    {u"H3PO4", u"磷酸"},
    {u"H2S", u"硫化氢"},
    {u"HBr", u"溴化氢"},
    {u"H2CO3", u"碳酸"},
    {u"CuSO4", u"硫酸铜"},
    {u"BaSO4", u"硫酸钡"},
    {u"CaSO4", u"硫酸钙"},
    {u"K2SO4", u"硫酸钾"},
    {u"MgSO4", u"硫酸镁"},
    {u"FeSO4", u"硫酸亚铁"},
    {u"Fe2(SO4)3", u"硫酸铁"},
    {u"Al2(SO4)3", u"硫酸铝"},
    {u"NaHSO4", u"硫酸氢钠"},
    {u"KHSO4", u"硫酸氢钾"},
    {u"Na2SO3", u"亚硫酸钠"},
    {u"NaNO3", u"硝酸钠"},
    {u"KNO3", u"硝酸钾"},
    {u"AgNO3", u"硝酸银"},
    {u"Mg(NO3)2", u"硝酸镁"},
    {u"Cu(NO3)2", u"硝酸铜"},
    {u"Ca(NO3)2", u"硝酸钙"},
    {u"NaNO2", u"亚硝酸钠"},
    {u"Na2CO3", u"碳酸钠"},
    {u"CaCO3", u"碳酸钙"},
    {u"MgCO3", u"碳酸镁"},
    {u"K2CO3", u"碳酸钾"},
    {u"NaOH", u"氢氧化钠"},
    {u"Ca(OH)2", u"氢氧化钙"},
    {u"Ba(OH)2", u"氢氧化钡"},
    {u"Mg(OH)2", u"氢氧化镁"},
    {u"Cu(OH)2", u"氢氧化铜"},
    {u"KOH", u"氢氧化钾"},
    {u"Al(OH)3", u"氢氧化铝"},
    {u"Fe(OH)3", u"氢氧化铁"},
    {u"Fe(OH)2", u"氢氧化亚铁"},
    {u"CH4", u"甲烷"},
    {u"C2H2", u"乙炔"},
    {u"CH3OH", u"甲醇"},
    {u"C2H5OH", u"乙醇"},
    {u"CH3COOH", u"乙酸"},
    {u"Cu2(OH)2CO3", u"碱式碳酸铜"},
    {u"CaSO4·2H2O", u"石膏"},
    {u"CaSO4·H2O", u"熟石膏"},
    {u"KAl(SO4)2·12H2O", u"明矾"},
    {u"FeSO4·7H2O", u"绿矾"},
    {u"CuSO4·5H2O", u"蓝矾"},
    {u"Na2CO3·10H2O", u"碳酸钠晶体"},
    {u"CO(NH2)2", u"尿素"},
    {u"NH4NO3", u"硝酸铵"},
    {u"(NH4)2SO4", u"硫酸铵"},
    {u"NH4HCO3", u"碳酸氢铵"},
    {u"KH2PO4", u"磷酸二氢钾"},
    {u"Na2SO4", u"硫酸钠"},
    {u"Hg(NO3)2", u"硝酸汞"},
    {u"K2MnO4", u"锰酸钾"},
    {u"KMnO4", u"高锰酸钾"},
    {u"KClO3", u"氯酸钾"},
    {u"ZnSO4", u"硫酸锌"},
    {u"NH3", u"氨"},
    {u"Na2O2", u"过氧化钠"},
    {u"NaAlO2", u"偏铝酸钠"},
    {u"C2H8N2", u"偏二甲肼"},
}};

enum class Rows { Formula, Name, NameThenFormula };

// A run of consecutive substance numbers whose rows follow each other in the catalogue.
struct RowRun {
    Rows rows;
    std::size_t first;
    std::size_t last;
};

// The scan order grew with the substance list: later additions were slotted in front of
// older name rows or appended as pairs. With every key unique the order changes no answer; it
// is kept as the catalogue has always listed its rows.
constexpr std::array<RowRun, 8> rowOrder{{
    {Rows::Formula, 1, 114},
    {Rows::Name, 114, 114},
    {Rows::Name, 109, 113},
    {Rows::Name, 108, 108},
    {Rows::Name, 1, 1},
    {Rows::Name, 3, 107},
    {Rows::Name, 2, 2},
    {Rows::NameThenFormula, 115, 117},
}};

constexpr std::size_t substanceRowCount = 2 * substances.size();
// Trailing rows with empty key and value; they make the empty input answer with empty text.
constexpr std::size_t emptyRowCount = 25;

constexpr std::array<CatalogueRow, substanceRowCount + emptyRowCount> rows = [] {
    std::array<CatalogueRow, substanceRowCount + emptyRowCount> result{};
    std::array<int, substances.size()> nameRows{};
    std::array<int, substances.size()> formulaRows{};
    std::size_t next = 0;
    for (const RowRun& run : rowOrder) {
        for (std::size_t number = run.first; number <= run.last; ++number) {
            const Substance& substance = substances.at(number - 1);
            if (run.rows != Rows::Formula) {
                result.at(next++) = substance.nameRow();
                ++nameRows.at(number - 1);
            }
            if (run.rows != Rows::Name) {
                result.at(next++) = substance.formulaRow();
                ++formulaRows.at(number - 1);
            }
        }
    }
    // A slip in rowOrder (a substance missed or placed twice) stops the build here instead of
    // silently changing lookups.
    for (std::size_t i = 0; i < substances.size(); ++i) {
        if (nameRows[i] != 1 || formulaRows[i] != 1) {
            throw "row order must place each substance row exactly once";
        }
    }
    return result;
}();

static_assert(rows.size() == 259);

}  // namespace

std::span<const CatalogueRow> catalogueRows() {
    return rows;
}

}  // namespace talmiro
