// The activation check runs every minute; with the waiting tasks ordered by
// their moment it must cost the tasks due and a logarithm, not a walk of
// the register. It is measured against one plain walk of the same
// register, the two taken in turns in the same run so that a busy machine
// slows both alike, and reported as the median ratio with its spread.
#include <benchmark/benchmark.h>

#include "alerts/activation.h"
#include "base/appstate.h"
#include "base/clock.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "bench/interleaved.h"
#include "bench/taskset.h"
#include "data/treerecords.h"
#include "fakes/manualclock.h"
#include "fakes/memoryforest.h"
#include "fakes/scriptedprompts.h"

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
    int index = 0;
    for (RegisterEntry* entry = FirstEntry(App().tasks); entry; entry = NextEntry(entry)) {
      if (++index % 100) continue;
      TaskRecord* record = EntryRecord(entry);
      record->autoactivate = 1;
      CopyField(record->autodate, "12-31-2099");
      if (index % 200 == 0) {
        record->autotimeset = 1;
        CopyField(record->autotime, "9:30");
      }
    }
    // The first check after a load places every loaded task once; the
    // minute's checks after it are what is measured.
    NoOutlet outlet;
    RunActivationCheck(outlet);
  }

 private:
  TaskSetWorld world_{100000, 10};
};

void BM_ActivationCheck100k(benchmark::State& state) {
  WaitingRegister world;
  NoOutlet outlet;
  constexpr int kRounds = 101;
  bool quiet = true;
  const Contender walk = [&] { return TimeOnce([&] { benchmark::DoNotOptimize(PlainWalk(App().tasks)); }); };
  const Contender check = [&] { return TimeOnce([&] { quiet = RunActivationCheck(outlet) == 0 && quiet; }); };
  for (auto _ : state) {
    const auto times = RunInterleaved(kRounds, {check, walk});
    const Spread ratio = RatioSpread(times[0], times[1]);
    state.counters["check_ms"] = SpreadOf(times[0]).median * 1e3;
    state.counters["walk_ms"] = SpreadOf(times[1]).median * 1e3;
    state.counters["ratio"] = ratio.median;
    state.counters["ratio_q1"] = ratio.low;
    state.counters["ratio_q3"] = ratio.high;
    state.counters["rounds"] = kRounds;
  }
  if (!quiet) state.SkipWithError("a task came due");
}
BENCHMARK(BM_ActivationCheck100k)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
