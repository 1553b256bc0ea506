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

#include "app/appstate.h"
#include "app/clock.h"
#include "app/prompts.h"
#include "data/datetext.h"
#include "data/filesystem.h"
#include "data/listfile.h"
#include "data/taskrecord.h"
#include "tree/memoryforest.h"
#include "tree/tasktree.h"

namespace {

constexpr int kListsItems = 100000;

const char* const kVerbs[] = {"Call", "Email", "Buy", "Fix", "Write", "Review", "Plan", "Book",
                              "Pay", "Clean", "Prepare", "Send", "Read", "Update", "Check", "Order"};
const char* const kThings[] = {"the quarterly report", "milk and bread", "the dentist", "invoice #4411",
                               "slides for Monday", "car insurance", "the garden fence",
                               "a birthday present for Anna", "flight to Lisbon", "project budget",
                               "the leaking tap", "chapter 3 notes", "team offsite agenda",
                               "library books", "tax return documents", "backup drive"};

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
                          static_cast<TaskForest*>(&done)}) {
      std::vector<TaskRecord*> records;
      ForEachNode(*f, [&](Node n) { records.push_back(RecordOf(*f, n)); });
      f->Delete(kRootNode);
      for (TaskRecord* r : records) FreeTaskRecord(r);
    }
    ClearRegister(App().tasks);
  }
};

std::string RandomStamp(std::mt19937& rng) {
  DateTime t{};
  t.year = static_cast<uint16_t>(2018 + rng() % 9);
  t.month = static_cast<uint16_t>(1 + rng() % 12);
  t.day = static_cast<uint16_t>(1 + rng() % 28);
  t.hour = static_cast<uint16_t>(rng() % 24);
  t.minute = static_cast<uint16_t>(rng() % 60);
  return FormatStamp(t);
}

// Builds `count` Lists items, depth up to 6, 10% of them activated with a
// linked copy in Active, and a Done tree of a tenth the size.
void Generate(World& w, int count, int activatedPercent) {
  std::mt19937 rng(20261207);
  w.Wire();
  Node today = InsertTask(w.active, kRootNode, kLastNode, "Today");
  ToggleBold(w.active, today);
  Node completed = InsertTask(w.done, kRootNode, kLastNode, "Completed");
  ToggleBold(w.done, completed);

  std::vector<Node> path;  // the current chain of ancestors
  for (int i = 0; i < count; ++i) {
    size_t depth = path.empty() ? 0 : rng() % (std::min<size_t>(path.size(), 5) + 1);
    path.resize(depth);
    Node parent = path.empty() ? kRootNode : path.back();
    std::string name = std::string(kVerbs[rng() % 16]) + " " + kThings[rng() % 16];
    Node n = InsertTask(w.lists, parent, kLastNode, name.c_str());
    TaskRecord* r = RecordOf(w.lists, n);
    CopyField(r->enterdate, RandomStamp(rng).c_str());
    if (depth == 0) ToggleBold(w.lists, n);
    if (rng() % 4 == 0) {
      r->duedateset = 1;
      CopyField(r->duedate, FormatDate(DateTime{2027, uint16_t(1 + rng() % 12), 0, uint16_t(1 + rng() % 28), 0, 0, 0, 0}).c_str());
    }
    if ((depth > 0 || activatedPercent == 100) && static_cast<int>(rng() % 100) < activatedPercent) {
      Node copy = InsertTask(w.active, today, kLastNode, name.c_str());
      TaskRecord* c = RecordOf(w.active, copy);
      r->link = copy;
      c->link = n;
      CopyField(r->activedate, RandomStamp(rng).c_str());
      ToggleChecked(w.lists, n);
    }
    if (rng() % 10 == 0) {
      Node d = InsertTask(w.done, completed, kLastNode, name.c_str());
      CopyField(RecordOf(w.done, d)->completedate, RandomStamp(rng).c_str());
    }
    if (depth < 6) path.push_back(n);
  }
  for (Node top = FirstChild(w.lists, kRootNode); top; top = NextSibling(w.lists, top))
    w.lists.Expand(top, ExpandAction::kExpand);
  w.active.Expand(today, ExpandAction::kExpand);
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

void BM_LoadAndResolve(benchmark::State& state) {
  const Files& f = TheFiles();
  for (auto _ : state) {
    state.PauseTiming();
    auto w = std::make_unique<World>();
    state.ResumeTiming();
    int ok = ParseListFile(w->lists, f.text[0].data(), f.text[0].size()) &&
             ParseListFile(w->active, f.text[1].data(), f.text[1].size()) &&
             ParseListFile(w->done, f.text[2].data(), f.text[2].size());
    ResolveLinks();
    if (!ok || !w->prompts.shown().empty()) state.SkipWithError("the generated set did not load cleanly");
    state.PauseTiming();
    w.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.Bytes()));
  state.counters["items"] = kListsItems;
}
BENCHMARK(BM_LoadAndResolve)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PugixmlParse(benchmark::State& state) {
  const Files& f = TheFiles();
  for (auto _ : state) {
    for (const std::string& t : f.text) {
      pugi::xml_document doc;
      pugi::xml_parse_result r = doc.load_buffer(t.data(), t.size());
      if (!r) state.SkipWithError(r.description());
      benchmark::DoNotOptimize(doc.first_child());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.Bytes()));
}
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MemchrFloor(benchmark::State& state) {
  const Files& f = TheFiles();
  for (auto _ : state) {
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
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.Bytes()));
}
BENCHMARK(BM_MemchrFloor)->Unit(benchmark::kMillisecond)->MinTime(1.0);

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
BENCHMARK(BM_RemoveSubtree)->RangeMultiplier(2)->Range(1250, 10000)->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
