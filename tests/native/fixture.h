// The application state wired to forests, prompts, a clock and files that
// live in memory, for tests of the core. Every record left in the trees is
// freed and the state zeroed after each test.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <unordered_set>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/filesystem.h"
#include "base/forest.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "fakes/manualclock.h"
#include "fakes/memoryfiles.h"
#include "fakes/memoryforest.h"
#include "fakes/scriptedprompts.h"

// 9:05 on Friday 7 March 2008.
constexpr DateTime kFixtureNow = {2008, 3, 5, 7, 9, 5, 0, 0};

// Frees the records carried by the nodes of the forests (each once: a copy
// shares its source's records until the source is deleted) and empties them.
inline void FreeForestRecords(std::initializer_list<TaskForest*> forests) {
  std::unordered_set<TaskRecord*> records;
  for (TaskForest* forest : forests) {
    for (Node at = FirstChild(*forest, kRootNode); at; at = NextInTreeOrder(*forest, at, nullptr)) {
      ForestItem item{};
      item.mask = kItemRecord;
      item.node = at;
      if (forest->GetItem(item) && item.record) records.insert(item.record);
    }
    forest->Delete(kRootNode);
  }
  for (TaskRecord* record : records) FreeTaskRecord(record);
}
inline void FreeForestRecords(TaskForest& forest) {
  FreeForestRecords({&forest});
}

struct AppFixture : ::testing::Test {
  MemoryForest lists{true};
  MemoryForest active{false};
  MemoryForest done{false};
  ScriptedPrompts prompts;
  ManualClock clock{kFixtureNow};
  MemoryFileSystem files;

  void SetUp() override {
    ResetAppState();
    App().lists = &lists;
    App().active = &active;
    App().done = &done;
    App().prompts = &prompts;
    App().clock = &clock;
    App().files = &files;
    App().vscroll = 1;
  }

  void TearDown() override {
    FreeForestRecords({&lists, &active, &done});
    ClearRegister(App().tasks);
    ResetAppState();
  }
};
