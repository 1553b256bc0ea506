#include "data/listset.h"

#include <cstring>
#include <string>

#include "base/appstate.h"
#include "base/filesystem.h"
#include "data/datafolder.h"
#include "data/listreader.h"
#include "data/listwriter.h"
#include "data/treerecords.h"

const char* const kListFileNames[3] = {"list.xml", "active.xml", "done.xml"};
const char kListsNotSaved[] = "Error: Could not save the lists!";

int SaveTree(TaskForest& tree, const std::string& path) {
  return SaveFileAtomically(AppFiles(), path, FormatListFile(tree));
}

int LoadTree(TaskForest& tree, const std::string& path) {
  std::string bytes;
  if (!AppFiles().ReadFile(path, &bytes)) {
    ClearTaskTree(tree);
    return 0;
  }
  return ParseListFile(tree, bytes.data(), bytes.size());
}

namespace {

TaskForest* TreeOfFile(int file) {
  switch (file) {
    case kListsFile:
      return App().lists;
    case kActiveFile:
      return App().active;
    case kDoneFile:
      return App().done;
    default:
      return nullptr;
  }
}

// Moves a file that was not read completely out of the way under a name
// the user can find ("list.unread.xml", "list.unread-2.xml", ...), never
// over another file.
int KeepUnreadFile(FileSystem& files, const std::string& folder, int file) {
  std::string base(kListFileNames[file]);
  base.resize(base.size() - 4);  // without ".xml"
  const std::string path = folder + kListFileNames[file];
  for (int n = 1; n <= 1000; ++n) {
    std::string keep = folder + base + ".unread";
    if (n > 1) {
      keep.push_back('-');
      keep += std::to_string(n);
    }
    keep += ".xml";
    if (files.FileExists(keep)) continue;
    return files.RenameFile(path, keep);
  }
  return 0;
}

// Puts a written temporary file in place of the list file, first moving a
// file that was not read completely out of the way.
int ReplaceListFile(FileSystem& files, const std::string& folder, int file) {
  const std::string path = folder + kListFileNames[file];
  AppState& app = App();
  if (app.unreadListFile[file] && folder == app.loadedFolder) {
    if (files.FileExists(path) && !KeepUnreadFile(files, folder, file)) return 0;
    app.unreadListFile[file] = 0;
  }
  return files.ReplaceFile(path + ".tmp", path);
}

}  // namespace

int SaveLists(const char* folderName) {
  std::string folder = ListFolder(folderName);
  if (folder.empty()) return 0;
  FileSystem& files = AppFiles();
  // The three files belong together (the link keys of list.xml name items
  // of active.xml by position), so all three are written before any is
  // replaced: a write that fails leaves the whole previous set in place,
  // never a new list.xml beside an old active.xml.
  int written = 0;
  for (; written < kListFileCount; ++written) {
    TaskForest* tree = TreeOfFile(written);
    const std::string temp = folder + kListFileNames[written] + ".tmp";
    if (!tree || !files.WriteNewFile(temp, FormatListFile(*tree))) break;
  }
  int replaced = 0;
  if (written == kListFileCount)
    while (replaced < kListFileCount && ReplaceListFile(files, folder, replaced)) ++replaced;
  for (int file = replaced; file < kListFileCount; ++file)
    files.RemoveFile(folder + kListFileNames[file] + ".tmp");
  return replaced == kListFileCount ? 1 : 0;
}

int LoadLists(const char* folderName) {
  AppState& app = App();
  std::memset(app.unreadListFile, 0, sizeof app.unreadListFile);
  std::string folder = ListFolder(folderName);
  CopyField(app.loadedFolder, folder.c_str());
  if (folder.empty()) return 0;
  FileSystem& files = AppFiles();
  for (int file = 0; file < kListFileCount; ++file) {
    TaskForest* tree = TreeOfFile(file);
    if (tree && LoadTree(*tree, folder + kListFileNames[file])) continue;
    // This file and the ones skipped after it hold what the trees do not:
    // a later save must keep them.
    for (int rest = file; rest < kListFileCount; ++rest)
      app.unreadListFile[rest] = files.FileExists(folder + kListFileNames[rest]) ? 1 : 0;
    return 0;
  }
  return 1;
}
