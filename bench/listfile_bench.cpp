// Loading, resolving and saving a large set of lists, against pugixml
// parsing the same bytes into its DOM and against one memchr pass over
// them (the floor: every byte must be looked at once).
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/filesystem.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "bench/interleaved.h"
#include "bench/taskset.h"
#include "data/datetext.h"
#include "data/listreader.h"
#include "data/listwriter.h"
#include "fakes/manualclock.h"
#include "fakes/memoryforest.h"
#include "fakes/scriptedprompts.h"
#include "tree/tasktree.h"

namespace {

constexpr int kListsItems = 100000;

// A world of three forests wired into the application state.
struct World {
  MemoryForest lists{true};
  MemoryForest active{false};
  MemoryForest done{false};
  ScriptedPrompts prompts;
  ManualClock clock{DateTime{2026, 12, 1, 7, 9, 5, 0, 0}};

  World() { Wire(); }
  ~World() {
    Release();
    ResetAppState();
  }
  void Wire() {
    AppState& app = App();
    app.lists = &lists;
    app.active = &active;
    app.done = &done;
    app.prompts = &prompts;
    app.clock = &clock;
  }
  void Release() {
    for (TaskForest* f : {static_cast<TaskForest*>(&lists), static_cast<TaskForest*>(&active),
                          static_cast<TaskForest*>(&done)})
      ClearTaskTree(*f);
    ClearRegister(App().tasks);
  }
};

void Generate(World& w, int count, int activatedPercent) {
  w.Wire();
  GenerateTaskSet(w.lists, w.active, w.done, count, activatedPercent);
}

struct Files {
  std::string text[3];
  size_t Bytes() const { return text[0].size() + text[1].size() + text[2].size(); }
};

const Files& TheFiles() {
  static Files files = [] {
    Files f;
    World w;
    Generate(w, kListsItems, 10);
    f.text[0] = FormatListFile(w.lists);
    f.text[1] = FormatListFile(w.active);
    f.text[2] = FormatListFile(w.done);
    return f;
  }();
  return files;
}

// Loading and resolving against pugixml's parse of the same bytes and the
// memchr floor, interleaved round by round.
void BM_LoadAgainstReferences(benchmark::State& state) {
  const Files& f = TheFiles();
  constexpr int kRounds = 21;
  bool clean = true;
  const Contender load = [&] {
    auto w = std::make_unique<World>();
    double seconds = TimeOnce([&] {
      clean = ParseListFile(w->lists, f.text[0].data(), f.text[0].size()) &&
              ParseListFile(w->active, f.text[1].data(), f.text[1].size()) &&
              ParseListFile(w->done, f.text[2].data(), f.text[2].size()) && clean;
      ResolveLinks();
    });
    clean = clean && w->prompts.shown().empty();
    return seconds;
  };
  const Contender pugixml = [&] {
    return TimeOnce([&] {
      for (const std::string& t : f.text) {
        pugi::xml_document doc;
        if (!doc.load_buffer(t.data(), t.size())) clean = false;
        benchmark::DoNotOptimize(doc.first_child());
      }
    });
  };
  const Contender floor = [&] {
    return TimeOnce([&] {
      size_t tags = 0;
      for (const std::string& t : f.text) {
        const char* p = t.data();
        const char* end = p + t.size();
        while ((p = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p)))) != nullptr) {
          ++tags;
          ++p;
        }
      }
      benchmark::DoNotOptimize(tags);
    });
  };
  for (auto _ : state) {
    const auto times = RunInterleaved(kRounds, {load, pugixml, floor});
    const Spread againstPugixml = RatioSpread(times[0], times[1]);
    const Spread againstFloor = RatioSpread(times[0], times[2]);
    state.counters["load_ms"] = SpreadOf(times[0]).median * 1e3;
    state.counters["pugixml_ms"] = SpreadOf(times[1]).median * 1e3;
    state.counters["memchr_ms"] = SpreadOf(times[2]).median * 1e3;
    state.counters["x_pugixml"] = againstPugixml.median;
    state.counters["x_pugixml_q1"] = againstPugixml.low;
    state.counters["x_pugixml_q3"] = againstPugixml.high;
    state.counters["x_memchr"] = againstFloor.median;
    state.counters["x_memchr_q1"] = againstFloor.low;
    state.counters["x_memchr_q3"] = againstFloor.high;
    state.counters["rounds"] = kRounds;
  }
  if (!clean) state.SkipWithError("the generated set did not load cleanly");
  state.counters["items"] = kListsItems;
}
BENCHMARK(BM_LoadAgainstReferences)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
  World w;
  Generate(w, kListsItems, 10);
  size_t bytes = 0;
  for (auto _ : state) {
    std::string a = FormatListFile(w.lists);
    std::string b = FormatListFile(w.active);
    std::string c = FormatListFile(w.done);
    bytes = a.size() + b.size() + c.size();
    benchmark::DoNotOptimize(a.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// 50,000 Lists items, each activated: 50,000 pairs to resolve.
void BM_ResolveLinks50k(benchmark::State& state) {
  World w;
  Generate(w, 50000, 100);
  std::string lists = FormatListFile(w.lists);
  std::string active = FormatListFile(w.active);
  w.Release();
  size_t pairs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    w.Release();
    ParseListFile(w.lists, lists.data(), lists.size());
    ParseListFile(w.active, active.data(), active.size());
    state.ResumeTiming();
    ResolveLinks();
    state.PauseTiming();
    pairs = 0;
    ForEachNode(w.lists, [&](Node n) { pairs += RecordOf(w.lists, n)->link != nullptr; });
    state.ResumeTiming();
  }
  state.counters["pairs"] = static_cast<double>(pairs);
}
BENCHMARK(BM_ResolveLinks50k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Removing a subtree of k items from a register of 100,000: linear in k.
void BM_RemoveSubtree(benchmark::State& state) {
  const int k = static_cast<int>(state.range(0));
  World w;
  Generate(w, kListsItems, 0);
  for (auto _ : state) {
    state.PauseTiming();
    Node top = InsertTask(w.lists, kRootNode, kFirstNode, "Doomed");
    for (int i = 1; i < k; ++i) InsertTask(w.lists, top, kLastNode, "child");
    state.ResumeTiming();
    DeleteTaskSubtree(w.lists, top);
  }
  state.SetComplexityN(k);
}
BENCHMARK(BM_RemoveSubtree)
    ->RangeMultiplier(2)
    ->Range(1250, 10000)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
