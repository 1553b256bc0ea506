#include "data/listset.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/filesystem.h"
#include "data/commitrecord.h"
#include "data/datafolder.h"
#include "data/listreader.h"
#include "data/listwriter.h"
#include "data/treerecords.h"

const char* const kListFileNames[3] = {"list.xml", "active.xml", "done.xml"};
const char kListsNotSaved[] = "Error: Could not save the lists!";
const char kListsIncomplete[] =
    "The lists could not be read completely: only what was read is shown.\n\n"
    "Nothing is lost. The next save keeps each file that could not be read in the \"current\" folder, "
    "as list.unread.xml, active.unread.xml or done.unread.xml.";

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

// The paths of one folder's set.
struct SetPaths {
  explicit SetPaths(const std::string& folder) : record(folder + kCommitRecordName) {
    for (int file = 0; file < kListFileCount; ++file) {
      target[file] = folder + kListFileNames[file];
      staged[file] = target[file] + ".tmp";
    }
  }
  std::string target[kListFileCount];  // list.xml, ...
  std::string staged[kListFileCount];  // list.xml.tmp, ...: a new file before it is moved in
  std::string record;                  // the commit record
};

bool HasSeal(FileSystem& files, const std::string& path, const FileSeal& seal) {
  std::string bytes;
  return files.ReadFile(path, &bytes) && SealOf(bytes) == seal;
}

void RemoveStaged(FileSystem& files, const SetPaths& paths) {
  for (const std::string& staged : paths.staged)
    if (files.FileExists(staged)) files.RemoveFile(staged);
}

// Brings the folder to one whole set after a save that did not finish.
// With a commit record, the new files not yet in place are moved in (a
// file that matches neither its new version nor a staged copy was changed
// since, and stays as it is); without one, or with a record cut short,
// the save never committed and its new files go. 1 when the folder holds
// its set in the three list files; 0 when a committed save could not be
// finished (a file is locked), `read` then naming for each file where its
// committed bytes are.
int SettleFolder(FileSystem& files, const std::string& folder, std::string (&read)[kListFileCount]) {
  const SetPaths paths(folder);
  for (int file = 0; file < kListFileCount; ++file) read[file] = paths.target[file];
  std::string text;
  if (!files.ReadFile(paths.record, &text)) {
    // A record that is there but cannot be read may still have work to
    // do: nothing is touched.
    if (files.FileExists(paths.record)) return 0;
    RemoveStaged(files, paths);
    return 1;
  }
  FileSeal seals[kListFileCount];
  if (ParseCommitRecord(text, seals)) {
    bool finished = true;
    for (int file = 0; file < kListFileCount; ++file) {
      if (HasSeal(files, paths.target[file], seals[file])) continue;
      if (!HasSeal(files, paths.staged[file], seals[file])) continue;
      if (!files.ReplaceFile(paths.staged[file], paths.target[file])) {
        read[file] = paths.staged[file];
        finished = false;
      }
    }
    if (!finished) return 0;
  }
  RemoveStaged(files, paths);
  files.RemoveFile(paths.record);
  files.FlushFolder(folder);
  return 1;
}

// The name under which a file that was not read completely is kept:
// "list.unread.xml", then "list.unread-2.xml", ...; empty when all are
// taken.
std::string UnreadName(FileSystem& files, const std::string& folder, int file) {
  std::string base(kListFileNames[file]);
  base.resize(base.size() - 4);  // without ".xml"
  for (int n = 1; n <= 1000; ++n) {
    std::string keep = folder + base + ".unread";
    if (n > 1) {
      keep.push_back('-');
      keep += std::to_string(n);
    }
    keep += ".xml";
    if (!files.FileExists(keep)) return keep;
  }
  return std::string();
}

// Copies each list file that was not read completely to a name of its
// own, never over another file. A copy, not a move: the list file stays in
// place until its successor replaces it, so no moment lacks it.
int KeepUnreadFiles(FileSystem& files, const std::string& folder, std::vector<std::string>* kept) {
  AppState& app = App();
  if (folder != app.loadedFolder) return 1;
  for (int file = 0; file < kListFileCount; ++file) {
    const std::string path = folder + kListFileNames[file];
    if (!app.unreadListFile[file] || !files.FileExists(path)) continue;
    std::string bytes;
    const std::string keep = UnreadName(files, folder, file);
    if (keep.empty() || !files.ReadFile(path, &bytes) || !files.WriteNewFile(keep, bytes)) return 0;
    kept->push_back(keep);
  }
  return 1;
}

void RemoveAll(FileSystem& files, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) files.RemoveFile(path);
}

}  // namespace

int SaveLists(const char* folderName) {
  std::string folder = ListFolder(folderName);
  if (folder.empty()) return 0;
  FileSystem& files = AppFiles();
  const SetPaths paths(folder);
  // An earlier save still to be finished comes first: its new files must
  // not be written over before they are in place.
  std::string read[kListFileCount];
  if (!SettleFolder(files, folder, read)) return 0;

  std::string bytes[kListFileCount];
  FileSeal seals[kListFileCount];
  for (int file = 0; file < kListFileCount; ++file) {
    TaskForest* tree = TreeOfFile(file);
    if (!tree) return 0;
    bytes[file] = FormatListFile(*tree);
    seals[file] = SealOf(bytes[file]);
  }

  std::vector<std::string> written;
  // Until the commit record is on the disk, a failure leaves the old set
  // in place and takes back what this save wrote.
  auto abandon = [&] {
    RemoveAll(files, written);
    return 0;
  };
  if (!KeepUnreadFiles(files, folder, &written)) return abandon();
  for (int file = 0; file < kListFileCount; ++file) {
    if (!files.WriteNewFile(paths.staged[file], bytes[file])) return abandon();
    written.push_back(paths.staged[file]);
  }
  if (!files.WriteNewFile(paths.record, FormatCommitRecord(seals))) {
    // A record whose removal failed as well may yet be whole, and would
    // then move the new files in at the next start: they stay.
    if (!files.FileExists(paths.record)) abandon();
    return 0;
  }
  // Committed once the record's name is on the disk (with those of the new
  // files): from here the new set is the one a start-up loads, and what was
  // not read completely has its copy.
  if (folder == App().loadedFolder) std::memset(App().unreadListFile, 0, sizeof App().unreadListFile);
  if (!files.FlushFolder(folder)) return 0;
  for (int file = 0; file < kListFileCount; ++file)
    if (!files.ReplaceFile(paths.staged[file], paths.target[file])) return 0;
  files.RemoveFile(paths.record);
  files.FlushFolder(folder);
  return 1;
}

int LoadLists(const char* folderName) {
  AppState& app = App();
  std::memset(app.unreadListFile, 0, sizeof app.unreadListFile);
  app.listsIncomplete = 0;
  std::string folder = ListFolder(folderName);
  CopyField(app.loadedFolder, folder.c_str());
  if (folder.empty()) return 0;
  FileSystem& files = AppFiles();
  std::string read[kListFileCount];
  SettleFolder(files, folder, read);
  for (int file = 0; file < kListFileCount; ++file) {
    TaskForest* tree = TreeOfFile(file);
    if (tree && LoadTree(*tree, read[file])) continue;
    // This file and the ones skipped after it hold what the trees do not:
    // a later save must keep them.
    for (int rest = file; rest < kListFileCount; ++rest) {
      app.unreadListFile[rest] = files.FileExists(read[rest]) ? 1 : 0;
      if (app.unreadListFile[rest]) app.listsIncomplete = 1;
    }
    return 0;
  }
  return 1;
}
