// ParseNumber on the texts the checks convert: doses, dose codes, intakes and dates.
#include <benchmark/benchmark.h>

#include <string_view>
#include <vector>

#include "bench/microbench/sample_load.h"
#include "config/number.h"
#include "config/text.h"

namespace talveron::bench {
namespace {

/// The trimmed values of the named fields of every record of the type, in file order.
std::vector<std::string_view> FieldTexts(const SampleLoad& sample, char type, RecordType layoutType,
                                         std::initializer_list<std::string_view> names) {
    const RecordLayout& layout = sample.layouts().of(layoutType);
    std::vector<std::string_view> texts;
    for (const std::string_view record : sample.linesOfType(type)) {
        for (const std::string_view name : names) {
            const FieldDef& field = *layout.field(FindField(layout, name));
            texts.push_back(TrimSpaces(record.substr(static_cast<std::size_t>(field.start - 1),
                                                     static_cast<std::size_t>(field.len))));
        }
    }
    return texts;
}

void ParseTexts(benchmark::State& state, const std::vector<std::string_view>& texts) {
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseNumber(texts[next]));
        next = next + 1 == texts.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_ParseNumberDoses(benchmark::State& state) {
    const SampleLoad sample(5'000);
    ParseTexts(state,
               FieldTexts(sample, 'D', RecordType::Dose,
                          {"CEDE", "CDE", "TODE", "DDE", "TEDE", "LDE", "SDE_WB", "SDE_ME"}));
}

void BM_ParseNumberIntakes(benchmark::State& state) {
    const SampleLoad sample(20'000);
    ParseTexts(state, FieldTexts(sample, 'I', RecordType::Intake, {"Intake"}));
}

void BM_ParseNumberDates(benchmark::State& state) {
    const SampleLoad sample(5'000);
    ParseTexts(state, FieldTexts(sample, 'D', RecordType::Dose,
                                 {"Monitoring_Start", "Monitoring_End", "Birth_Date"}));
}

BENCHMARK(BM_ParseNumberDoses);
BENCHMARK(BM_ParseNumberIntakes);
BENCHMARK(BM_ParseNumberDates);

}  // namespace
}  // namespace talveron::bench
