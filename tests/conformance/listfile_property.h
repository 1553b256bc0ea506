// What must hold for any bytes read as a list file, shared by the list-file
// fuzzer and the native suite's run over the kept fuzz seeds: whatever the
// reader makes of them is written out again, and that text reads back
// whole, without a message, and writes out the same. Every record read is
// freed again, and every Lists record leaves the register with it.
#pragma once

#include <cstddef>
#include <string>

#include "base/appstate.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "data/listreader.h"
#include "data/listwriter.h"
#include "fakes/scriptedprompts.h"
#include "tree/tasktree.h"

// The application state must name the three trees (empty) and `prompts`.
// Empty when the property holds, else what went wrong.
inline std::string ListFileProperty(const char* bytes, size_t size, ScriptedPrompts& prompts) {
  AppState& app = App();
  for (TaskForest* tree : {app.lists, app.active, app.done}) {
    prompts.Clear();
    ParseListFile(*tree, bytes, size);
    const std::string first = FormatListFile(*tree);
    prompts.Clear();
    if (ParseListFile(*tree, first.data(), first.size()) != 1) return "what was written does not read whole";
    if (!prompts.shown().empty()) return "what was written reads with a message: " + prompts.shown()[0].text;
    if (FormatListFile(*tree) != first) return "what was written writes otherwise";
    ForEachNode(*tree, [&](Node node) { FreeTaskRecord(RecordOf(*tree, node)); });
    tree->Delete(kRootNode);
  }
  prompts.Clear();
  if (app.tasks.head || app.tasks.count) return "records were left in the register";
  return std::string();
}
