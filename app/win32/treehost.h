// The tree commands' view of the window side, on the real windows.
#pragma once

#include "tree/commands.h"

class Win32TreeHost final : public TreeHost {
 public:
  TaskForest* CurrentView() override;
  void FocusCurrentView() override;
  void RepaintTree(TaskForest& tree) override;
  void ScrollLine(TaskForest& tree, bool up) override;
  void CloseMainWindow() override;
  void SelectNextTab() override;
  void SaveSettings() override;
  void RunActivationCheck() override;
  void ShowPropertiesDialog(TaskRecord* record, bool editable) override;
  void GuardLabelEdit(Handle edit) override;
  void OpenFind() override;
};

// The program's host (one per process).
Win32TreeHost& MainTreeHost();
