#include "app/win32/treehost.h"

#include <windows.h>

#include "alerts/win32/propertiesdialog.h"
#include "app/win32/alerthost.h"
#include "app/win32/findbox.h"
#include "app/win32/tabs.h"
#include "app/win32/windowsettings.h"
#include "base/appstate.h"
#include "base/win32/handles.h"
#include "tree/win32/treewindow.h"

TaskForest* Win32TreeHost::CurrentView() {
  AppState& app = App();
  if (!app.currentView) return nullptr;
  if (app.currentView == app.listsTree) return app.lists;
  if (app.currentView == app.activeTree) return app.active;
  if (app.currentView == app.doneTree) return app.done;
  return nullptr;
}

void Win32TreeHost::FocusCurrentView() {
  if (App().currentView) SetFocus(Window(App().currentView));
}

void Win32TreeHost::RepaintTree(TaskForest& tree) {
  ::RepaintTree(Window(tree.Window()));
}

void Win32TreeHost::ScrollLine(TaskForest& tree, bool up) {
  SendMessageA(Window(tree.Window()), WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
}

void Win32TreeHost::CloseMainWindow() {
  SendMessageA(Window(App().mainWindow), WM_CLOSE, 0, 0);
}

void Win32TreeHost::SelectNextTab() {
  ::SelectNextTab();
}

void Win32TreeHost::SaveSettings() {
  SaveMainWindowSettings();
}

void Win32TreeHost::RunActivationCheck() {
  RunMainActivationCheck();
}

void Win32TreeHost::ShowPropertiesDialog(TaskRecord* record, bool editable) {
  FillProperties(Window(App().propertiesDialog), record, editable);
}

void Win32TreeHost::GuardLabelEdit(Handle edit) {
  GuardLabelEditWindow(Window(edit));
}

void Win32TreeHost::OpenFind() {
  ShowFindBox();
}

Win32TreeHost& MainTreeHost() {
  static Win32TreeHost host;
  return host;
}
