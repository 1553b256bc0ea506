// One organiser for a differential run: its three forests with their
// listeners, its prompts and clock, and, while another world runs, its
// application state and pending cut.
#pragma once

#include <memory>
#include <string>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/forest.h"
#include "base/prompts.h"
#include "fakes/manualclock.h"
#include "fakes/scriptedprompts.h"
#include "tree/commands.h"

class World {
 public:
  World(std::unique_ptr<TaskForest> lists, std::unique_ptr<TaskForest> active,
        std::unique_ptr<TaskForest> done);
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  // Makes this world the application state; Leave puts it away again.
  void Enter();
  void Leave();
  // The tab the user works in.
  void SetView(int tree) { host_.view = tree == 0 ? lists_.get() : tree == 1 ? active_.get() : done_.get(); }

  ScriptedPrompts prompts;
  ManualClock clock{DateTime{2008, 3, 5, 7, 9, 5, 0, 0}};

 private:
  // The window side: nothing to show, nothing to ask.
  class QuietHost final : public TreeHost {
   public:
    TaskForest* CurrentView() override { return view; }
    void FocusCurrentView() override {}
    void RepaintTree(TaskForest&) override {}
    void ScrollLine(TaskForest&, bool) override {}
    void CloseMainWindow() override {}
    void SelectNextTab() override {}
    void SaveSettings() override {}
    void RunActivationCheck() override {}
    void ShowPropertiesDialog(TaskRecord*, bool) override {}
    void GuardLabelEdit(Handle) override {}
    TaskForest* view = nullptr;
  };

  std::unique_ptr<TaskForest> lists_, active_, done_;
  std::unique_ptr<CommandListener> listeners_[3];
  QuietHost host_;
  AppState state_{};
  PendingCut cut_{};
};

std::unique_ptr<World> MemoryWorld();
// The real tree-view controls (Windows only).
std::unique_ptr<World> ControlWorld();

// The three files a save of the trees of the application state writes, in
// one text.
std::string SavedText();
// That text read back into fresh trees (links resolved) and written again;
// the messages the reading showed are appended.
std::string ReloadedText(const std::string& saved);
