#include "data/listset.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/filesystem.h"
#include "base/prompts.h"
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
const char kListsKept[] =
    "Velkin found list files that it had not loaded: the data folder could not be seen when it started, "
    "or the files were changed or put back since.\n\n"
    "Nothing is lost. Each of them is kept beside the lists (in the \"current\" folder) as list.unread.xml, "
    "active.unread.xml or done.unread.xml: open it in a text editor to recover its tasks.";

int SaveTree(TaskForest& tree, const std::string& path) {
  return SaveFileAtomically(AppFiles(), path, FormatListFile(tree));
}

namespace {
int ReadTree(TaskForest& tree, const std::string& path, FileSeal* seal);
}  // namespace

int LoadTree(TaskForest& tree, const std::string& path) {
  return ReadTree(tree, path, nullptr);
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

enum class Finish { kDone, kDiverted, kLocked };

// Moves the new files of a committed save into place. Right before each
// move it checks that the new file is still the one the record names and
// that its place still holds what the save replaced: a new file whose place
// was taken since (a backup put back by hand, another instance's save) is
// kept beside it under an unread name instead, and one that is not the
// record's any more stays where it is. kLocked when a move failed (a file
// held open), `read` then naming the new file for that list.
Finish FinishCommitted(FileSystem& files, const SetPaths& paths, const std::string& folder,
                       const CommitRecord& record, std::string (&read)[kListFileCount],
                       std::vector<std::string>* kept) {
  Finish result = Finish::kDone;
  for (int file = 0; file < kListFileCount; ++file) {
    const FileChange& change = record.file[file];
    std::string place;
    const bool readable = files.ReadFile(paths.target[file], &place) != 0;
    if (readable && SealOf(place) == change.next) continue;
    if (!HasSeal(files, paths.staged[file], change.next)) {
      if (result == Finish::kDone) result = Finish::kDiverted;
      continue;
    }
    // A place another program holds without sharing cannot be checked, nor
    // moved onto: the new file waits where it is.
    if (!readable && files.FileExists(paths.target[file])) {
      read[file] = paths.staged[file];
      result = Finish::kLocked;
      continue;
    }
    // An older version's record does not say what it replaces: its save is
    // finished as that version would have.
    const bool replacedIsThere =
        readable ? change.wasThere && SealOf(place) == change.replaced : !change.wasThere;
    if (record.knowsReplaced && !change.unknown && !replacedIsThere) {
      const std::string keep = UnreadName(files, folder, file);
      if (!keep.empty() && files.ReplaceFile(paths.staged[file], keep)) {
        kept->push_back(keep);
        if (result == Finish::kDone) result = Finish::kDiverted;
      } else {
        result = Finish::kLocked;
      }
      continue;
    }
    if (!files.ReplaceFile(paths.staged[file], paths.target[file])) {
      read[file] = paths.staged[file];
      result = Finish::kLocked;
    }
  }
  return result;
}

enum class Settled { kWhole, kLocked, kRecordUnreadable };

// Brings the folder to one whole set after a save that did not finish.
// With a commit record, its new files are moved in (FinishCommitted);
// without one, or with a record cut short, the save never committed and
// its new files go. A record that is there but cannot be read (held open
// by another program, no permission) may still have work to do: nothing
// is touched. kLocked when a committed save could not be finished, `read`
// then naming for each file where its committed bytes are; `kept` names
// the new files kept aside.
Settled SettleFolder(FileSystem& files, const std::string& folder, std::string (&read)[kListFileCount],
                     std::vector<std::string>* kept) {
  const SetPaths paths(folder);
  for (int file = 0; file < kListFileCount; ++file) read[file] = paths.target[file];
  std::string text;
  if (!files.ReadFile(paths.record, &text)) {
    if (files.FileExists(paths.record)) return Settled::kRecordUnreadable;
    RemoveStaged(files, paths);
    return Settled::kWhole;
  }
  CommitRecord record;
  if (ParseCommitRecord(text, &record) &&
      FinishCommitted(files, paths, folder, record, read, kept) == Finish::kLocked)
    return Settled::kLocked;
  RemoveStaged(files, paths);
  files.RemoveFile(paths.record);
  files.FlushFolder(folder);
  return Settled::kWhole;
}

bool IsLoadedSet(const char* folderName) {
  return App().loadedSet[0] && std::strcmp(folderName, App().loadedSet) == 0;
}

// Whether the program knows these bytes as the file of the loaded set.
bool Known(const std::string& folder, int file, const FileSeal& seal) {
  const AppState& app = App();
  return folder == app.loadedFolder && app.knownListFile[file] && app.knownListSize[file] == seal.size &&
         app.knownListSum[file] == seal.sum;
}

void Know(int file, const FileSeal& seal) {
  AppState& app = App();
  app.knownListFile[file] = 1;
  app.knownListSize[file] = seal.size;
  app.knownListSum[file] = seal.sum;
}

void RemoveAll(FileSystem& files, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) files.RemoveFile(path);
}

// Reads a list file into its tree; `seal` is then that of the bytes read.
int ReadTree(TaskForest& tree, const std::string& path, FileSeal* seal) {
  std::string bytes;
  if (!AppFiles().ReadFile(path, &bytes)) {
    ClearTaskTree(tree);
    return 0;
  }
  if (seal) *seal = SealOf(bytes);
  return ParseListFile(tree, bytes.data(), bytes.size());
}

// Saves the set into the folder, `kept` naming the copies made of files
// the program did not know and `tell` whether one of them is news to the
// user.
int SaveSet(const char* folderName, std::vector<std::string>& kept, bool& tell) {
  std::string folder = ListFolder(folderName);
  if (folder.empty()) return 0;
  FileSystem& files = AppFiles();
  AppState& app = App();
  const SetPaths paths(folder);
  // An earlier save still to be finished comes first: its new files must
  // not be written over before they are in place.
  std::string read[kListFileCount];
  const size_t keptBefore = kept.size();
  const Settled settled = SettleFolder(files, folder, read, &kept);
  if (kept.size() != keptBefore) tell = true;
  if (settled != Settled::kWhole) return 0;

  const bool loadedSet = IsLoadedSet(folderName);
  std::string bytes[kListFileCount];
  CommitRecord record{};
  record.knowsReplaced = true;
  for (int file = 0; file < kListFileCount; ++file) {
    TaskForest* tree = TreeOfFile(file);
    if (!tree) return 0;
    bytes[file] = FormatListFile(*tree);
    record.file[file].next = SealOf(bytes[file]);
  }

  std::vector<std::string> written;
  // Until the commit record is on the disk, a failure leaves the old set
  // in place and takes back what this save wrote.
  auto abandon = [&] {
    RemoveAll(files, written);
    kept.resize(keptBefore);
    return 0;
  };
  // What each new file replaces. A list file of the loaded set that the
  // program did not read (it was absent then, as in a data folder that
  // appeared only after start-up, or it was not read completely, or was
  // changed since) is copied first: a copy, not a move, so that no moment
  // lacks the list file. A file that cannot be read cannot be kept, and
  // is not replaced.
  for (int file = 0; file < kListFileCount; ++file) {
    FileChange& change = record.file[file];
    std::string old;
    change.wasThere = files.ReadFile(paths.target[file], &old) != 0;
    if (!change.wasThere && files.FileExists(paths.target[file])) {
      // Held by another program without sharing. A file of the loaded set
      // that the program read whole is taken to be what it read (the move
      // checks it again once it can); one it did not read cannot be kept,
      // and is not replaced. Elsewhere (a backup) it is replaced as it is.
      change.wasThere = true;
      if (!loadedSet) {
        change.unknown = true;
        continue;
      }
      if (folder != app.loadedFolder || !app.knownListFile[file]) return abandon();
      change.replaced = FileSeal{app.knownListSize[file], app.knownListSum[file]};
      continue;
    }
    if (!change.wasThere) continue;
    change.replaced = SealOf(old);
    if (!loadedSet || Known(folder, file, change.replaced)) continue;
    const std::string keep = UnreadName(files, folder, file);
    if (keep.empty() || !files.WriteNewFile(keep, old)) return abandon();
    written.push_back(keep);
    kept.push_back(keep);
    if (folder != app.loadedFolder || !app.unreadListFile[file]) tell = true;
  }
  for (int file = 0; file < kListFileCount; ++file) {
    if (!files.WriteNewFile(paths.staged[file], bytes[file])) return abandon();
    written.push_back(paths.staged[file]);
  }
  if (!files.WriteNewFile(paths.record, FormatCommitRecord(record))) {
    // A record whose removal failed as well may yet be whole, and would
    // then move the new files in at the next start: they stay.
    if (!files.FileExists(paths.record)) abandon();
    return 0;
  }
  // Committed once the record's name is on the disk (with those of the new
  // files): from here the new set is the one a start-up loads, and what the
  // program did not know has its copy.
  if (loadedSet) {
    CopyField(app.loadedFolder, folder.c_str());
    std::memset(app.unreadListFile, 0, sizeof app.unreadListFile);
    for (int file = 0; file < kListFileCount; ++file) Know(file, record.file[file].next);
    // The trees lack what the copies hold: a backup says so.
    if (kept.size() != keptBefore) app.listsIncomplete = 1;
  }
  if (!files.FlushFolder(folder)) return 0;
  if (FinishCommitted(files, paths, folder, record, read, &kept) != Finish::kDone) {
    tell = tell || kept.size() != keptBefore;
    return 0;
  }
  // A new file equal to the one in place was not moved.
  RemoveStaged(files, paths);
  files.RemoveFile(paths.record);
  files.FlushFolder(folder);
  return 1;
}

}  // namespace

int SaveLists(const char* folderName) {
  std::vector<std::string> kept;
  bool tell = false;
  const int saved = SaveSet(folderName ? folderName : "", kept, tell);
  // Only once the save is over: a box lets other commands run.
  if (tell && !kept.empty()) ShowWarning(kListsKept);
  return saved;
}

int LoadLists(const char* folderName) {
  AppState& app = App();
  std::memset(app.unreadListFile, 0, sizeof app.unreadListFile);
  std::memset(app.knownListFile, 0, sizeof app.knownListFile);
  app.listsIncomplete = 0;
  CopyField(app.loadedSet, folderName ? folderName : "");
  std::string folder = ListFolder(folderName);
  CopyField(app.loadedFolder, folder.c_str());
  if (folder.empty()) return 0;
  FileSystem& files = AppFiles();
  std::string read[kListFileCount];
  std::vector<std::string> kept;
  const Settled settled = SettleFolder(files, folder, read, &kept);
  if (!kept.empty()) ShowWarning(kListsKept);
  // With a record that cannot be read, the files may be of two saves: what
  // is there is shown, but none of it counts as known, and the start says
  // that the lists may be incomplete.
  const bool sure = settled != Settled::kRecordUnreadable;
  int whole = sure ? 1 : 0;
  for (int file = 0; file < kListFileCount; ++file) {
    TaskForest* tree = TreeOfFile(file);
    FileSeal seal{};
    if (tree && ReadTree(*tree, read[file], &seal)) {
      if (sure) Know(file, seal);
      continue;
    }
    // This file and the ones skipped after it hold what the trees do not:
    // a later save must keep them.
    for (int rest = file; rest < kListFileCount; ++rest)
      app.unreadListFile[rest] = files.FileExists(read[rest]) ? 1 : 0;
    whole = 0;
    break;
  }
  if (!sure)
    for (int file = 0; file < kListFileCount; ++file)
      app.unreadListFile[file] = files.FileExists(read[file]) ? 1 : 0;
  for (uint8_t unread : app.unreadListFile)
    if (unread) app.listsIncomplete = 1;
  if (!sure) app.listsIncomplete = 1;
  return whole;
}
