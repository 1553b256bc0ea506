#include "app/win32/backups.h"

#include <shellapi.h>

#include <string>

#include "base/prompts.h"
#include "data/datafolder.h"

namespace {

const char kBackupQuestion[] =
    "To revert to a previous state follow these instructions: \n"
    "    1. Rename the \"current\" folder to any other name \n"
    "    2. Copy the folder of the desired backup date \n"
    "    3. Name the copied folder \"current\" \n"
    "    4. Restart the program \n"
    " The program must close to manage backups, do you want to continue?";

}  // namespace

void ManageBackups(HWND window) {
  if (!AskYesNo(kBackupQuestion, window)) return;
  std::string folder = DataFolder();
  // Without a data folder (already said) there is nothing to manage.
  if (folder.empty()) return;
  ShellExecuteA(nullptr, "open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  // Ends without saving: the user is about to swap the "current" folder.
  SendMessageA(window, WM_DESTROY, 0, 0);
}
