// The dose index: building it after the registration pass, and the lookup of the main pass, for
// realistic people and for one key shared by every record.
#include <benchmark/benchmark.h>

#include <span>
#include <vector>

#include "bench/microbench/sample_load.h"
#include "engine/dose_register.h"

namespace talveron::bench {
namespace {

/// Range(0) is the number of records; the one-key variants use the one-person shape.
Shape ShapeOf(bool oneKey) { return oneKey ? Shape::OnePerson : Shape::Normal; }

void BuildIndex(benchmark::State& state, bool oneKey) {
    const SampleLoad sample(state.range(0), ShapeOf(oneKey));
    DoseRegister registered;
    sample.registerInto(registered);
    const std::span<const DoseListEntry> entries = registered.doses();
    for (auto _ : state) {
        state.PauseTiming();
        DoseRegister doses;
        doses.addDoses(entries);
        state.ResumeTiming();
        doses.buildIndex();
        benchmark::DoNotOptimize(doses.personCount());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(entries.size()));
}

/// One lookup per dose record, in file order, as the main pass makes them.
template <typename Lookup>
void LookUpEveryEntry(benchmark::State& state, bool oneKey, Lookup lookUp) {
    const SampleLoad sample(state.range(0), ShapeOf(oneKey));
    DoseRegister doses;
    sample.registerInto(doses);
    const std::span<const DoseListEntry> entries = doses.doses();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookUp(doses, entries[next]));
        next = next + 1 == entries.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

bool Touch(const DoseRegister& doses, const DoseListEntry& entry) {
    // Day numbers count back from the run start: the later end has the smaller number.
    return doses.twoOrMoreEntriesTouch(entry.key, entry.endDays, entry.startDays);
}

void BM_BuildIndex(benchmark::State& state) { BuildIndex(state, false); }
void BM_BuildIndexOneKey(benchmark::State& state) { BuildIndex(state, true); }
void BM_TwoOrMoreEntriesTouch(benchmark::State& state) { LookUpEveryEntry(state, false, Touch); }
void BM_TwoOrMoreEntriesTouchOneKey(benchmark::State& state) {
    LookUpEveryEntry(state, true, Touch);
}

BENCHMARK(BM_BuildIndex)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildIndexOneKey)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TwoOrMoreEntriesTouch)->Arg(100'000);
BENCHMARK(BM_TwoOrMoreEntriesTouchOneKey)->Arg(100'000);

}  // namespace
}  // namespace talveron::bench
