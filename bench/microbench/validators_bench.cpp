// The checks of the main pass: the field validators on realistic dose records, and the whole
// dispatch of every record of a generated file.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "bench/microbench/sample_load.h"
#include "engine/field_validators.h"
#include "engine/record_context.h"
#include "engine/record_dispatcher.h"

namespace talveron::bench {
namespace {

/// Counts what the checks report, so that a finding costs no more than the call.
class CountingSink final : public FindingSink {
public:
    void writeFinding(const Finding&, const FindingPlace&) override { ++findings; }
    std::int64_t findings = 0;
};

/// The engine's view of a sample: its configuration and its registered dose records.
struct Checking {
    explicit Checking(const SampleLoad& sample)
        : environment{sample.layouts(), sample.options(), sample.lists(), sample.fields(), doses,
                      kBenchmarkAsOf,   kBenchmarkAsOf} {
        sample.registerInto(doses);
    }
    DoseRegister doses;
    CheckEnvironment environment;
    CountingSink sink;
};

void ValidateDoseRecords(benchmark::State& state, FaultShare faults) {
    const SampleLoad sample(20'000, Shape::Normal, faults);
    Checking checking(sample);
    RecordContext context(checking.environment, checking.sink);
    const std::vector<std::string_view> records = sample.linesOfType('D');
    std::size_t next = 0;
    for (auto _ : state) {
        context.begin(records[next], static_cast<std::int64_t>(next + 2), 'D');
        context.extract(RecordType::Dose);
        ValidateFields(context);
        next = next + 1 == records.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
    const double perRecord =
        static_cast<double>(checking.sink.findings) / static_cast<double>(state.iterations());
    state.SetLabel(std::to_string(perRecord).substr(0, 4) + " findings per record");
}

void BM_ValidateFieldsCleanDose(benchmark::State& state) {
    ValidateDoseRecords(state, FaultShare::None);
}
void BM_ValidateFieldsFaultyDose(benchmark::State& state) {
    ValidateDoseRecords(state, FaultShare::All);
}

/// Every line of the file through the dispatcher, as the main pass does without reading or
/// writing: one iteration is one record.
void DispatchFile(benchmark::State& state, FaultShare faults) {
    const SampleLoad sample(20'000, Shape::Normal, faults);
    Checking checking(sample);
    RecordDispatcher dispatcher(checking.environment, checking.sink);
    const std::span<const std::string_view> lines = sample.lines();
    std::size_t next = 0;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        const std::string_view line = lines[next];
        benchmark::DoNotOptimize(dispatcher.dispatch(line, static_cast<std::int64_t>(next + 1),
                                                     static_cast<std::int64_t>(line.size()) + 2));
        bytes += static_cast<std::int64_t>(line.size()) + 2;
        next = next + 1 == lines.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(bytes);
}

void BM_DispatchCleanFile(benchmark::State& state) { DispatchFile(state, FaultShare::None); }
void BM_DispatchFaultyFile(benchmark::State& state) { DispatchFile(state, FaultShare::All); }

BENCHMARK(BM_ValidateFieldsCleanDose);
BENCHMARK(BM_ValidateFieldsFaultyDose);
BENCHMARK(BM_DispatchCleanFile);
BENCHMARK(BM_DispatchFaultyFile);

}  // namespace
}  // namespace talveron::bench
