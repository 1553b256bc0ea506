// The activation check runs every minute over the whole register, so it
// must stay a walk: it is measured against one plain walk of the same
// register, the two taken in turns in the same run so that a busy machine
// slows both alike, and reported as the median ratio with its spread.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "alerts/activation.h"
#include "base/appstate.h"
#include "base/clock.h"
#include "base/memoryforest.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "bench/taskset.h"
#include "data/treerecords.h"

namespace {

class NoOutlet final : public ActivationOutlet {
 public:
  void ShowBalloon(const char*, const char*) override {}
  void SendMailAlert(const char*, const char*) override {}
};

// 100,000 Lists tasks; one in a hundred waits for a moment years ahead
// (half of those at a time of day), so none comes due.
class WaitingRegister {
 public:
  WaitingRegister() {
    AppState& app = App();
    app.lists = &lists_;
    app.active = &active_;
    app.done = &done_;
    app.prompts = &prompts_;
    app.clock = &clock_;
    GenerateTaskSet(lists_, active_, done_, 100000, 10);
    int index = 0;
    for (RegisterEntry* entry = FirstEntry(app.tasks); entry; entry = NextEntry(entry)) {
      if (++index % 100) continue;
      TaskRecord* record = EntryRecord(entry);
      record->autoactivate = 1;
      CopyField(record->autodate, "12-31-2099");
      if (index % 200 == 0) {
        record->autotimeset = 1;
        CopyField(record->autotime, "9:30");
      }
    }
  }
  ~WaitingRegister() {
    for (TaskForest* tree : {&lists_, &active_, &done_}) ClearTaskTree(*tree);
    ClearRegister(App().tasks);
    ResetAppState();
  }
  WaitingRegister(const WaitingRegister&) = delete;
  WaitingRegister& operator=(const WaitingRegister&) = delete;

 private:
  MemoryForest lists_{true};
  MemoryForest active_{false};
  MemoryForest done_{false};
  ScriptedPrompts prompts_;
  ManualClock clock_{DateTime{2026, 12, 1, 7, 9, 5, 0, 0}};
};

// The least any check must do: visit every record once.
size_t PlainWalk(const TaskRegister& tasks) {
  size_t waiting = 0;
  for (RegisterEntry* entry = FirstEntry(tasks); entry; entry = NextEntry(entry))
    waiting += EntryRecord(entry)->autoactivate != 0;
  return waiting;
}

double Seconds(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

// The value below which the share `at` (0-1) of the sorted samples lies.
double Quantile(std::vector<double> samples, double at) {
  std::sort(samples.begin(), samples.end());
  return samples[static_cast<size_t>(at * static_cast<double>(samples.size() - 1) + 0.5)];
}

void BM_ActivationCheck100k(benchmark::State& state) {
  WaitingRegister world;
  NoOutlet outlet;
  std::vector<double> walks, checks, ratios;
  bool walkFirst = true;
  for (auto _ : state) {
    using Clock = std::chrono::steady_clock;
    double walk = 0, check = 0;
    for (int turn = 0; turn < 2; ++turn) {
      const Clock::time_point start = Clock::now();
      if (walkFirst == (turn == 0)) {
        benchmark::DoNotOptimize(PlainWalk(App().tasks));
        walk = Seconds(start, Clock::now());
      } else {
        if (RunActivationCheck(outlet) != 0) state.SkipWithError("a task came due");
        check = Seconds(start, Clock::now());
      }
    }
    walkFirst = !walkFirst;
    walks.push_back(walk);
    checks.push_back(check);
    ratios.push_back(check / walk);
  }
  state.counters["check_ms"] = Quantile(checks, 0.5) * 1e3;
  state.counters["walk_ms"] = Quantile(walks, 0.5) * 1e3;
  state.counters["ratio"] = Quantile(ratios, 0.5);
  state.counters["ratio_p10"] = Quantile(ratios, 0.1);
  state.counters["ratio_p90"] = Quantile(ratios, 0.9);
  state.counters["runs"] = static_cast<double>(ratios.size());
}
BENCHMARK(BM_ActivationCheck100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
