// Line framing: the line reader over a whole generated load file held in memory.
#include <benchmark/benchmark.h>

#include <istream>

#include "bench/microbench/sample_load.h"
#include "engine/line_reader.h"

namespace talveron::bench {
namespace {

void FrameLines(benchmark::State& state, Shape shape, std::int64_t records) {
    const SampleLoad sample(records, shape);
    ViewStreamBuffer buffer(sample.bytes());
    std::istream input(&buffer);
    std::int64_t lines = 0;
    for (auto _ : state) {
        buffer.rewind();
        input.clear();
        LineReader reader(input);
        std::string_view line;
        while (reader.next(line)) {
            benchmark::DoNotOptimize(line.data());
            ++lines;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(sample.bytes().size()));
    state.SetItemsProcessed(lines);
}

void BM_LineFramingCrLf(benchmark::State& state) { FrameLines(state, Shape::Normal, 20'000); }
void BM_LineFramingLfOnly(benchmark::State& state) { FrameLines(state, Shape::LfOnly, 20'000); }
void BM_LineFramingLongLines(benchmark::State& state) { FrameLines(state, Shape::LongLines, 400); }

BENCHMARK(BM_LineFramingCrLf);
BENCHMARK(BM_LineFramingLfOnly);
BENCHMARK(BM_LineFramingLongLines);

}  // namespace
}  // namespace talveron::bench
