// Field extraction: cutting generated records into trimmed values by their layouts.
#include <benchmark/benchmark.h>

#include <string_view>
#include <vector>

#include "bench/microbench/sample_load.h"
#include "engine/check_plan.h"

namespace talveron::bench {
namespace {

void ExtractRecords(benchmark::State& state, char type, RecordType layoutType) {
    const SampleLoad sample(20'000);
    const std::vector<std::string_view> records = sample.linesOfType(type);
    const CheckPlan plan(sample.layouts(), sample.options());
    std::vector<std::string_view> values(plan.of(layoutType).steps.size());
    std::size_t next = 0;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        const std::string_view record = records[next];
        next = next + 1 == records.size() ? 0 : next + 1;
        ExtractFields(record, plan.of(layoutType), values);
        benchmark::DoNotOptimize(values.data());
        bytes += static_cast<std::int64_t>(record.size());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}

void BM_ExtractDoseFields(benchmark::State& state) { ExtractRecords(state, 'D', RecordType::Dose); }
void BM_ExtractIntakeFields(benchmark::State& state) {
    ExtractRecords(state, 'I', RecordType::Intake);
}

BENCHMARK(BM_ExtractDoseFields);
BENCHMARK(BM_ExtractIntakeFields);

}  // namespace
}  // namespace talveron::bench
