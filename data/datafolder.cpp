#include "data/datafolder.h"

#include "base/appstate.h"
#include "base/clock.h"
#include "base/filesystem.h"
#include "base/prompts.h"
#include "data/datetext.h"
#include "data/listset.h"

const char kBackupIncomplete[] =
    "Backup succeeded!\n\nBut the lists it holds are incomplete: they could not be read completely at "
    "start-up, "
    "and only what was read is saved. The files that could not be read are still in the \"current\" folder.";

std::string DataFolder() {
  FileSystem& files = AppFiles();
  const char separator = files.Separator();
  std::string folder;
  if (App().dataFolderOverride[0]) {
    folder = App().dataFolderOverride;
    if (folder.back() != '\\' && folder.back() != '/') folder.push_back(separator);
  } else {
    std::string base = ApplicationDataFolder();
    if (base.empty()) {
      ShowWarning("Error: Application Data folder not found!");
      return std::string();
    }
    folder = base + separator + "Velkin 1.0" + separator;
  }
  // A folder that cannot be made shows later, as a file that cannot be
  // opened.
  files.CreateFolder(folder);
  return folder;
}

std::string ListFolder(const char* name) {
  std::string folder = DataFolder();
  if (folder.empty() || !name) return std::string();
  FileSystem& files = AppFiles();
  folder += name;
  folder.push_back(files.Separator());
  files.CreateFolder(folder);
  return folder;
}

int BackupLists() {
  Clock* clock = App().clock ? App().clock : SystemClock();
  // Named by the day: a second backup the same day writes over the first.
  const std::string today = FormatDate(clock->Now());
  int ok = SaveLists(today.c_str());
  if (!ok)
    ShowWarning("Backup failed!");
  else if (App().listsIncomplete)
    ShowWarning(kBackupIncomplete);
  else
    ShowWarning("Backup succeeded!");
  return ok;
}
