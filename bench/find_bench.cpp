// One keystroke in the Find Task box: the filter over the index of every
// task of the three tabs and the labels of the matches the list shows,
// measured against one plain walk of the register of the same 100,000
// Lists tasks, the two taken in turns in the same run.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/interleaved.h"
#include "bench/taskset.h"
#include "tree/findtask.h"

namespace {

// What the box does for one key: filter, then label what the list shows.
size_t Keystroke(const TaskIndex& index, const char* query) {
  std::vector<size_t> matches;
  const size_t found = FilterTasks(index, query, 1000, &matches);
  size_t length = 0;
  for (size_t entry : matches) length += FoundTaskLabel(index, entry).size();
  return found + length;
}

void BM_FindKeystroke100k(benchmark::State& state) {
  TaskSetWorld world(100000, 10);
  TaskIndex index;
  const double build = TimeOnce([&] { BuildTaskIndex(&index); });
  constexpr int kRounds = 101;
  // "dent" matches one task in sixteen ("the dentist"), more than the
  // list shows; "zq" matches none, the pure scan.
  const Contender walk = [&] { return TimeOnce([&] { benchmark::DoNotOptimize(PlainWalk(App().tasks)); }); };
  const Contender typed = [&] {
    return TimeOnce([&] { benchmark::DoNotOptimize(Keystroke(index, "dent")); });
  };
  const Contender none = [&] { return TimeOnce([&] { benchmark::DoNotOptimize(Keystroke(index, "zq")); }); };
  for (auto _ : state) {
    const auto times = RunInterleaved(kRounds, {typed, none, walk});
    const Spread ratio = RatioSpread(times[0], times[2]);
    state.counters["keystroke_ms"] = SpreadOf(times[0]).median * 1e3;
    state.counters["keystroke_q1_ms"] = SpreadOf(times[0]).low * 1e3;
    state.counters["keystroke_q3_ms"] = SpreadOf(times[0]).high * 1e3;
    state.counters["scan_ms"] = SpreadOf(times[1]).median * 1e3;
    state.counters["walk_ms"] = SpreadOf(times[2]).median * 1e3;
    state.counters["ratio"] = ratio.median;
    state.counters["ratio_q1"] = ratio.low;
    state.counters["ratio_q3"] = ratio.high;
    state.counters["index_ms"] = build * 1e3;
    state.counters["tasks"] = static_cast<double>(index.entries.size());
    state.counters["rounds"] = kRounds;
  }
}
BENCHMARK(BM_FindKeystroke100k)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
