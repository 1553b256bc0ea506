// One keystroke in the Find Task box: the filter over the index of every
// task of the three tabs and the labels of the matches the list shows,
// measured against one plain walk of the register of the same 100,000
// Lists tasks, the two taken in turns in the same run.
#include <benchmark/benchmark.h>

#include <vector>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/memoryforest.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "bench/interleaved.h"
#include "bench/taskset.h"
#include "data/treerecords.h"
#include "tree/findtask.h"

namespace {

class TaskWorld {
 public:
  TaskWorld() {
    AppState& app = App();
    app.lists = &lists_;
    app.active = &active_;
    app.done = &done_;
    app.prompts = &prompts_;
    app.clock = &clock_;
    GenerateTaskSet(lists_, active_, done_, 100000, 10);
  }
  ~TaskWorld() {
    for (TaskForest* tree : {&lists_, &active_, &done_}) ClearTaskTree(*tree);
    ClearRegister(App().tasks);
    ResetAppState();
  }
  TaskWorld(const TaskWorld&) = delete;
  TaskWorld& operator=(const TaskWorld&) = delete;

 private:
  MemoryForest lists_{true};
  MemoryForest active_{false};
  MemoryForest done_{false};
  ScriptedPrompts prompts_;
  ManualClock clock_{DateTime{2026, 12, 1, 7, 9, 5, 0, 0}};
};

size_t PlainWalk(const TaskRegister& tasks) {
  size_t due = 0;
  for (RegisterEntry* entry = FirstEntry(tasks); entry; entry = NextEntry(entry))
    due += EntryRecord(entry)->duedateset != 0;
  return due;
}

// What the box does for one key: filter, then label what the list shows.
size_t Keystroke(const TaskIndex& index, const char* query) {
  std::vector<size_t> matches;
  const size_t found = FilterTasks(index, query, 1000, &matches);
  size_t length = 0;
  for (size_t entry : matches) length += FoundTaskLabel(index, entry).size();
  return found + length;
}

void BM_FindKeystroke100k(benchmark::State& state) {
  TaskWorld world;
  TaskIndex index;
  const double build = TimeOnce([&] { BuildTaskIndex(&index); });
  constexpr int kRounds = 101;
  // "dent" matches one task in sixteen ("the dentist"), more than the
  // list shows; "zq" matches none, the pure scan.
  const Contender walk = [&] { return TimeOnce([&] { benchmark::DoNotOptimize(PlainWalk(App().tasks)); }); };
  const Contender typed = [&] { return TimeOnce([&] { benchmark::DoNotOptimize(Keystroke(index, "dent")); }); };
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
