// A TreeHost that keeps a record of what the commands asked of the window
// side, with the current view chosen by the test.
#pragma once

#include <vector>

#include "tree/commands.h"

class RecordingHost final : public TreeHost {
 public:
  struct PropertiesCall {
    TaskRecord* record;
    bool editable;
  };
  struct ScrollCall {
    TaskForest* tree;
    bool up;
  };

  TaskForest* CurrentView() override { return view; }
  void FocusCurrentView() override { ++focusCalls; }
  void RepaintTree(TaskForest& tree) override { repainted.push_back(&tree); }
  void ScrollLine(TaskForest& tree, bool up) override { scrolls.push_back({&tree, up}); }
  void CloseMainWindow() override { ++closeCalls; }
  void SelectNextTab() override { ++nextTabCalls; }
  void SaveSettings() override { ++saveSettingsCalls; }
  void RunActivationCheck() override { ++activationChecks; }
  void ShowPropertiesDialog(TaskRecord* record, bool editable) override {
    properties.push_back({record, editable});
  }
  void GuardLabelEdit(Handle edit) override { guarded.push_back(edit); }

  TaskForest* view = nullptr;
  int focusCalls = 0;
  int closeCalls = 0;
  int nextTabCalls = 0;
  int saveSettingsCalls = 0;
  int activationChecks = 0;
  std::vector<TaskForest*> repainted;
  std::vector<ScrollCall> scrolls;
  std::vector<PropertiesCall> properties;
  std::vector<Handle> guarded;
};
