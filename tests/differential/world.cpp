#include "tests/differential/world.h"

#include <unordered_set>

#include "base/taskrecord.h"
#include "data/listreader.h"
#include "data/listset.h"
#include "data/listwriter.h"
#include "fakes/memoryforest.h"
#include "tree/tasktree.h"

World::World(std::unique_ptr<TaskForest> lists, std::unique_ptr<TaskForest> active,
             std::unique_ptr<TaskForest> done)
    : lists_(std::move(lists)), active_(std::move(active)), done_(std::move(done)) {
  TaskForest* trees[] = {lists_.get(), active_.get(), done_.get()};
  for (int tree = 0; tree < 3; ++tree) {
    listeners_[tree] = std::make_unique<CommandListener>(*trees[tree]);
    trees[tree]->SetListener(listeners_[tree].get());
  }
  state_.lists = lists_.get();
  state_.active = active_.get();
  state_.done = done_.get();
  state_.listsTree = lists_->Window();
  state_.activeTree = active_->Window();
  state_.doneTree = done_->Window();
  state_.prompts = &prompts;
  state_.clock = &clock;
  state_.vscroll = 1;
  host_.view = lists_.get();
}

World::~World() {
  Enter();
  std::unordered_set<TaskRecord*> records;
  for (TaskForest* tree : {lists_.get(), active_.get(), done_.get()}) {
    tree->SetListener(nullptr);
    ForEachNode(*tree, [&](Node node) {
      if (TaskRecord* record = RecordOf(*tree, node)) records.insert(record);
    });
    tree->Delete(kRootNode);
  }
  for (TaskRecord* record : records) FreeTaskRecord(record);
  ClearRegister(App().tasks);
  Leave();
  ResetAppState();
}

void World::Enter() {
  App() = state_;
  SetHost(&host_);
  ClearCut();
  if (cut_.tree && cut_.node) CutTask(*cut_.tree, cut_.node);
}

void World::Leave() {
  state_ = App();
  cut_ = CurrentCut();
  ClearCut();
  SetHost(nullptr);
}

std::unique_ptr<World> MemoryWorld() {
  return std::make_unique<World>(std::make_unique<MemoryForest>(true), std::make_unique<MemoryForest>(false),
                                 std::make_unique<MemoryForest>(false));
}

std::string SavedText() {
  AppState& app = App();
  TaskForest* trees[] = {app.lists, app.active, app.done};
  std::string text;
  for (int file = 0; file < kListFileCount; ++file) {
    text += std::string("==> ") + kListFileNames[file] + "\r\n";
    text += FormatListFile(*trees[file]);
  }
  return text;
}

std::string ReloadedText(const std::string& saved) {
  std::unique_ptr<World> fresh = MemoryWorld();
  fresh->Enter();
  AppState& app = App();
  TaskForest* trees[] = {app.lists, app.active, app.done};
  for (int file = 0; file < kListFileCount; ++file) {
    const std::string mark = std::string("==> ") + kListFileNames[file] + "\r\n";
    size_t start = saved.find(mark);
    size_t end = file + 1 < kListFileCount ? saved.find("==> ", start + mark.size()) : saved.size();
    if (start == std::string::npos || end == std::string::npos)
      return "no " + std::string(kListFileNames[file]);
    start += mark.size();
    ParseListFile(*trees[file], saved.data() + start, end - start);
  }
  ResolveLinks();
  std::string text = SavedText();
  for (const std::string& message : fresh->prompts.Texts()) text += message + "\r\n";
  fresh->Leave();
  return text;
}
