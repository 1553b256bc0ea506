// Arbitrary bytes as a list file, read into each of the three trees. What
// the reader makes of them is written out again; that text must read back
// whole, without a message, and write out the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/memoryforest.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "data/listreader.h"
#include "data/listwriter.h"
#include "tree/tasktree.h"

namespace {

MemoryForest lists(true);
MemoryForest active(false);
MemoryForest done(false);
ScriptedPrompts prompts;
ManualClock clock_({2008, 3, 5, 7, 9, 5, 0, 0});

void FreeRecords(TaskForest& tree) {
  ForEachNode(tree, [&](Node node) { FreeTaskRecord(RecordOf(tree, node)); });
  tree.Delete(kRootNode);
}

void Check(TaskForest& tree, const uint8_t* data, size_t size) {
  prompts.Clear();
  ParseListFile(tree, reinterpret_cast<const char*>(data), size);
  const std::string first = FormatListFile(tree);
  prompts.Clear();
  if (ParseListFile(tree, first.data(), first.size()) != 1) abort();
  if (!prompts.shown().empty()) abort();
  if (FormatListFile(tree) != first) abort();
  FreeRecords(tree);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetAppState();
  App().lists = &lists;
  App().active = &active;
  App().done = &done;
  App().prompts = &prompts;
  App().clock = &clock_;
  Check(lists, data, size);
  Check(active, data, size);
  Check(done, data, size);
  // Every Lists record left the register when it was freed.
  if (App().tasks.head || App().tasks.count) abort();
  prompts.Clear();
  return 0;
}
