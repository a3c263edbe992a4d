// One full scan of the catalogue per lookup, for the inputs that cost the most or least, set
// against the cheapest conceivable scan: comparing only the lengths of the 259 keys.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/lookup.h"

namespace {

using talmiro::CatalogueRow;

const std::u16string& input(int which) {
    static const std::u16string inputs[] = {
        u"H2",      // hit on the first row
        u"C2H8N2",  // hit on the last non-empty row
        u"",        // matches the 25 empty rows
        u"Fe3O5",   // a miss as long as many keys and sharing their prefix
        std::u16string(std::size_t{1} << 20, u'a'),  // a pasted megabyte
    };
    return inputs[which];
}

const char* const inputNames[] = {"first row", "last row", "empty", "near miss", "1 MiB"};

void lookup(benchmark::State& state) {
    const std::u16string& text = input(static_cast<int>(state.range(0)));
    state.SetLabel(inputNames[state.range(0)]);
    for (auto _ : state) {
        benchmark::DoNotOptimize(talmiro::lookup(text));
    }
}

void lengthOnlyScan(benchmark::State& state) {
    const std::u16string& text = input(static_cast<int>(state.range(0)));
    state.SetLabel(inputNames[state.range(0)]);
    for (auto _ : state) {
        std::u16string_view result;
        for (const CatalogueRow& row : talmiro::catalogueRows()) {
            if (row.key.size() == text.size()) {
                result = row.value;
            }
        }
        benchmark::DoNotOptimize(result);
    }
}

}  // namespace

BENCHMARK(lookup)->DenseRange(0, 4);
BENCHMARK(lengthOnlyScan)->DenseRange(0, 4);

BENCHMARK_MAIN();
