// Saves of the list set under every failure of the disk and every stop of
// the process or the power, on a realistic set: whatever happens, the next
// start loads the whole old set or the whole new one, never a mix, never
// less. Each loop runs a save once for every operation it makes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/filesystem.h"
#include "bench/taskset.h"
#include "data/commitrecord.h"
#include "data/datafolder.h"
#include "data/listset.h"
#include "data/listwriter.h"
#include "data_helpers.h"
#include "fakes/memoryfiles.h"
#include "fixture.h"
#include "tree/commands.h"

namespace {

constexpr char kData[] = "C:\\Velkin 1.0\\";

// What a start loads: the three trees as they would be written, and the
// messages the loading showed.
struct LoadedSet {
  std::string file[kListFileCount];
  std::vector<std::string> messages;
  bool operator==(const LoadedSet& other) const {
    return file[0] == other.file[0] && file[1] == other.file[1] && file[2] == other.file[2] &&
           messages == other.messages;
  }
};

// A save to make, from the folder as it was to the trees as they are.
struct Scenario {
  std::string folder;             // "current" or a date
  std::function<void()> prepare;  // sets the disk and the trees as before the save
  std::function<int()> save;      // SaveLists or BackupLists
  std::vector<std::string> keep;  // bytes that must never leave the folder
  LoadedSet before, after;        // what a start loads without the save, and after it
  bool saves = false;             // whether the save can succeed at all
};

struct SaveFaults : AppFixture {
  MemoryFileSystem disk;  // the folder before the save

  void SetUp() override {
    AppFixture::SetUp();
    CopyField(App().dataFolderOverride, kData);
  }

  LoadedSet Restart(const std::string& folder) {
    FreeForestRecords({&lists, &active, &done});
    prompts.Clear();
    LoadLists(folder.c_str());
    ResolveLinks();
    LoadedSet loaded;
    TaskForest* trees[] = {&lists, &active, &done};
    for (int file = 0; file < kListFileCount; ++file) loaded.file[file] = FormatListFile(*trees[file]);
    loaded.messages = prompts.Texts();
    return loaded;
  }

  std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    const std::string path = kData + folder + "\\";
    for (const auto& file : files.files)
      if (file.first.compare(0, path.size(), path) == 0) names.push_back(file.first.substr(path.size()));
    return names;
  }
  bool Holds(const std::string& folder, const std::string& bytes) {
    for (const std::string& name : Names(folder))
      if (files.files[kData + folder + "\\" + name] == bytes) return true;
    return false;
  }
  // Whatever happened, the save never takes from the folder what only the
  // folder has.
  void CheckFolder(const Scenario& s, const std::string& at) {
    for (const std::string& bytes : s.keep) EXPECT_TRUE(Holds(s.folder, bytes)) << at << ": a file was lost";
  }
  void ExpectOldOrNew(const Scenario& s, const LoadedSet& loaded, const std::string& at) {
    EXPECT_TRUE(loaded == s.before || loaded == s.after) << at << ": a mix of the two sets was loaded";
    CheckFolder(s, at);
  }
  // After the start, a save that fails nowhere leaves only list files.
  void ExpectCleanSave(const Scenario& s, const std::string& at) {
    files.Release();
    EXPECT_EQ(s.save(), 1) << at;
    for (const std::string& name : Names(s.folder))
      EXPECT_TRUE(name.size() > 4 && name.compare(name.size() - 4, 4, ".xml") == 0) << at << ": " << name;
  }

  // A save that cannot succeed (a file is locked) changes nothing.
  void Measure(Scenario& s) {
    s.prepare();
    s.before = Restart(s.folder);
    s.prepare();
    s.saves = s.save() == 1;
    s.after = Restart(s.folder);
    ASSERT_TRUE(s.saves ? !(s.before == s.after) : s.before == s.after);
  }

  // Every operation of every kind fails once, one save each.
  void FailEachOperation(Scenario& s) {
    Measure(s);
    for (int kind = 0; kind < kFileOpKinds; ++kind) {
      const FileOp op = static_cast<FileOp>(kind);
      for (int n = 1;; ++n) {
        const std::string at = std::string("failed ") + FileOpName(op) + " #" + std::to_string(n);
        s.prepare();
        files.FailOperation(op, n);
        const int saved = s.save();
        const bool failed = files.FailureHappened();
        files.FailOperation(op, 0);
        const LoadedSet loaded = Restart(s.folder);
        ExpectOldOrNew(s, loaded, at);
        EXPECT_TRUE(!saved || loaded == s.after) << at << ": a save said done loads the old set";
        ExpectCleanSave(s, at);
        if (!failed) {
          EXPECT_TRUE(n > 1 || !s.saves) << FileOpName(op) << ": a save makes none";
          break;
        }
      }
    }
  }

  // The process stops after every operation (a kill: what it did stays), or
  // the power goes (only what reached the disk stays); then the start that
  // finishes the save stops as well, after each of its own operations.
  void StopAtEachOperation(Scenario& s) {
    Measure(s);
    int powerMattered = 0;
    for (bool power : {false, true}) {
      for (int n = 0;; ++n) {
        const std::string at = std::string(power ? "power lost" : "killed") + " after " + std::to_string(n);
        s.prepare();
        files.StopAfter(n);
        s.save();
        const bool stopped = files.FailureHappened();
        const auto killed = files.files;
        files.StopAfter(-1);
        if (power) files.LosePower();
        if (files.files != killed) ++powerMattered;
        const MemoryFileSystem crashed = files;
        const LoadedSet loaded = Restart(s.folder);
        ExpectOldOrNew(s, loaded, at);
        for (int m = 0;; ++m) {
          files = crashed;
          files.StopAfter(m);
          Restart(s.folder);
          const bool again = files.FailureHappened();
          files.StopAfter(-1);
          if (power) files.LosePower();
          EXPECT_TRUE(Restart(s.folder) == loaded) << at << ", start stopped after " << m;
          if (!again) break;
        }
        ExpectCleanSave(s, at);
        if (!stopped) break;
      }
    }
    EXPECT_TRUE(powerMattered > 0 || !s.saves) << "no power loss lost anything: the model proves nothing";
  }

  // A task is activated (its copy goes first into Today, so every link
  // key moves), one completed and a linked one renamed: each file changes.
  void Edit(int round) {
    Node toActivate = nullptr, toComplete = nullptr, toRename = nullptr;
    ForEachNode(lists, [&](Node node) {
      if (!ParentOf(lists, node)) return;
      if (!toActivate && CheckStateOf(lists, node) == kUnchecked) toActivate = node;
      if (!toRename && CheckStateOf(lists, node) == kChecked) toRename = node;
      if (!toComplete && !FirstChild(lists, node) && CheckStateOf(lists, node) == kUnchecked &&
          node != toActivate)
        toComplete = node;
    });
    ASSERT_TRUE(toActivate && toComplete && toRename);
    ASSERT_EQ(ActivateTask(lists, toActivate), 1);
    ASSERT_EQ(CompleteTask(lists, toComplete), 1);
    OnEndLabelEdit(lists, toRename, ("Renamed in round " + std::to_string(round)).c_str());
  }

  // A few hundred tasks, a fifth of them activated, saved and edited.
  Scenario Realistic(const std::string& folder, std::function<int()> save) {
    GenerateTaskSet(lists, active, done, 400, 20);
    EXPECT_EQ(SaveLists(folder.c_str()), 1);
    disk = files;
    Scenario s;
    s.folder = folder;
    s.save = std::move(save);
    s.prepare = [this, folder] {
      files = disk;
      Restart(folder);
      Edit(1);
    };
    return s;
  }
};

TEST_F(SaveFaults, EveryFailureOfASaveLeavesAWholeSet) {
  Scenario s = Realistic("current", [] { return SaveLists("current"); });
  FailEachOperation(s);
}

TEST_F(SaveFaults, EveryStopOfASaveLeavesAWholeSet) {
  Scenario s = Realistic("current", [] { return SaveLists("current"); });
  StopAtEachOperation(s);
}

// A backup over the one made earlier the same day.
TEST_F(SaveFaults, BackupsAreWholeToo) {
  Scenario s = Realistic("3-7-2008", [] { return BackupLists(); });
  FailEachOperation(s);
  StopAtEachOperation(s);
}

// active.xml is locked by another program when a save has replaced
// list.xml (held open for reading, or without sharing at all); while it
// stays locked, the next save cannot finish either, and must not disturb
// the one waiting to be finished.
TEST_F(SaveFaults, ASaveWaitingForALockedFileIsNeverDisturbed) {
  for (bool unshared : {false, true}) {
    SCOPED_TRACE(unshared ? "held without sharing" : "held open for reading");
    Scenario s = Realistic("current", [] { return SaveLists("current"); });
    s.prepare();
    const std::string locked = std::string(kData) + "current\\active.xml";
    if (unshared)
      files.DenyReading(locked);
    else
      files.HoldOpen(locked);
    ASSERT_EQ(SaveLists("current"), 0);
    EXPECT_TRUE(files.FileExists(locked + ".tmp"));
    disk = files;
    s.prepare = [this] {
      files = disk;
      Restart("current");
      Edit(2);
    };
    FailEachOperation(s);
    StopAtEachOperation(s);
    files.Clear();
    FreeForestRecords({&lists, &active, &done});
  }
}

// A set whose list.xml was cut short: what the first start could not read
// is kept through every failure, and no start finds Lists emptier.
TEST_F(SaveFaults, FilesNotReadCompletelyAreNeverLost) {
  GenerateTaskSet(lists, active, done, 60, 20);
  const std::string whole = FormatListFile(lists);
  Scenario s;
  s.folder = "current";
  s.keep = {whole.substr(0, whole.size() / 2), FormatListFile(active), FormatListFile(done)};
  files.CreateFolder(kData);
  files.CreateFolder(std::string(kData) + "current");
  for (int file = 0; file < kListFileCount; ++file)
    files.files[std::string(kData) + "current\\" + kListFileNames[file]] = s.keep[file];
  disk = files;
  s.save = [] { return SaveLists("current"); };
  s.prepare = [this] {
    files = disk;
    Restart("current");
    ASSERT_NE(lists.Count(), 0u);
    InsertTask(lists, kRootNode, kFirstNode, "Added after the failed load");
  };
  FailEachOperation(s);
  StopAtEachOperation(s);
}

// The commit record and a list file are never taken one for the other.
TEST(CommitRecord, IsNoListFileAndAListFileIsNoRecord) {
  CommitRecord record{};
  record.file[0] = {SealOf("a"), SealOf("before"), true, false};
  record.file[1] = {SealOf(""), FileSeal{0, 0}, true, true};
  record.file[2] = {SealOf(std::string(70000, 'x')), FileSeal{0, 0}, false, false};
  const std::string text = FormatCommitRecord(record);
  CommitRecord read{};
  ASSERT_EQ(ParseCommitRecord(text, &read), 1);
  EXPECT_TRUE(read.knowsReplaced);
  for (int file = 0; file < kListFileCount; ++file) {
    EXPECT_TRUE(read.file[file].next == record.file[file].next) << file;
    EXPECT_TRUE(read.file[file].replaced == record.file[file].replaced) << file;
    EXPECT_EQ(read.file[file].wasThere, record.file[file].wasThere) << file;
    EXPECT_EQ(read.file[file].unknown, record.file[file].unknown) << file;
  }
  EXPECT_EQ(text.find('<'), std::string::npos);
  EXPECT_EQ(ParseCommitRecord(ListText({"<item><name>A</name></item>"}), &read), 0);
  // Cut anywhere, or with any byte changed, it is no record.
  for (size_t cut = 0; cut < text.size(); ++cut) {
    EXPECT_EQ(ParseCommitRecord(text.substr(0, cut), &read), 0) << cut;
    std::string changed = text;
    changed[cut] ^= 0x01;
    EXPECT_EQ(ParseCommitRecord(changed, &read), 0) << cut;
  }
}

// A list file that was changed by hand after a save stopped, with the save
// still to be finished, is kept as the user left it; the others come in.
TEST_F(SaveFaults, AFileChangedSinceTheCommitIsKept) {
  InsertTask(lists, kRootNode, kLastNode, "Old");
  ASSERT_EQ(SaveLists("current"), 1);
  InsertTask(done, kRootNode, kLastNode, "New");
  const std::string newDone = FormatListFile(done);
  files.FailOperation(FileOp::kRename, 1);
  ASSERT_EQ(SaveLists("current"), 0);
  files.FailOperation(FileOp::kRename, 0);
  const std::string byHand = ListText({"<item><name>Edited by hand</name></item>"});
  files.files[std::string(kData) + "current\\list.xml"] = byHand;
  files.RemoveFile(std::string(kData) + "current\\list.xml.tmp");
  const LoadedSet loaded = Restart("current");
  EXPECT_EQ(Shape(lists), "Edited by hand");
  EXPECT_EQ(loaded.file[kDoneFile], newDone);
  EXPECT_EQ(Names("current"), (std::vector<std::string>{"active.xml", "done.xml", "list.xml"}));
}

// A commit record another program holds open: the start loads what is
// there and says that it may be incomplete; no save goes ahead while the
// record cannot be read, and the first one after keeps the files of both
// saves.
TEST_F(SaveFaults, ARecordThatCannotBeReadIsNeverFinishedBlindly) {
  Scenario s = Realistic("current", [] { return SaveLists("current"); });
  s.prepare();
  files.FailOperation(FileOp::kRename, 2);  // active.xml is not in place
  ASSERT_EQ(SaveLists("current"), 0);
  files.FailOperation(FileOp::kRename, 0);
  const std::string folder = kData + std::string("current\\");
  std::vector<std::string> committed;
  for (const char* name : kListFileNames) {
    const std::string staged = folder + name + ".tmp";
    committed.push_back(files.files[files.FileExists(staged) ? staged : folder + name]);
  }
  files.DenyReading(folder + kCommitRecordName);
  Restart("current");
  EXPECT_EQ(App().listsIncomplete, 1);
  Edit(2);
  const auto held = files.files;
  EXPECT_EQ(SaveLists("current"), 0);
  EXPECT_TRUE(files.files == held);
  files.Release();
  EXPECT_EQ(SaveLists("current"), 1);
  for (size_t file = 0; file < committed.size(); ++file)
    EXPECT_TRUE(Holds("current", committed[file]))
        << kListFileNames[file] << " of the committed save was lost";
  s.keep = committed;
  ExpectCleanSave(s, "after the record could be read");
}

// A stopped save whose old files were then put back by hand (a backup
// copied in): the files put back stay, the stopped save's new files are
// kept beside them, and the start says so. An older version's record,
// which does not say what it replaces, is still finished.
TEST_F(SaveFaults, AStoppedSaveNeverGoesOverFilesPutBackByHand) {
  Scenario s = Realistic("current", [] { return SaveLists("current"); });
  const std::string folder = kData + std::string("current\\");
  const std::string restored[kListFileCount] = {ListText({"<item><name>From the backup</name></item>"}),
                                                ListText({}),
                                                ListText({"<item><name>Done then</name></item>"})};
  for (bool byOlder : {false, true}) {
    SCOPED_TRACE(byOlder ? "an older version's record" : "this version's record");
    s.prepare();
    files.FailOperation(FileOp::kRename, 1);
    ASSERT_EQ(SaveLists("current"), 0);
    files.FailOperation(FileOp::kRename, 0);
    std::string staged[kListFileCount];
    for (int file = 0; file < kListFileCount; ++file) {
      staged[file] = files.files[folder + kListFileNames[file] + ".tmp"];
      files.files[folder + kListFileNames[file]] = restored[file];
    }
    if (byOlder) {
      // What the older version wrote for a save of "new list", "new active"
      // and "new done".
      std::string record;
      ASSERT_EQ(HostFileSystem()->ReadFile(VELKIN_TEST_DATA "/journal/older-version.journal", &record), 1);
      files.files[folder + kCommitRecordName] = record;
      const std::string older[kListFileCount] = {"new list", "new active", "new done"};
      for (int file = 0; file < kListFileCount; ++file) {
        staged[file] = older[file];
        files.files[folder + kListFileNames[file] + ".tmp"] = staged[file];
      }
    }
    const LoadedSet loaded = Restart("current");
    for (int file = 0; file < kListFileCount; ++file) {
      const std::string target = folder + kListFileNames[file];
      if (byOlder) {
        EXPECT_EQ(files.files[target], staged[file]);
        continue;
      }
      EXPECT_TRUE(files.files[target] == restored[file])
          << kListFileNames[file] << " put back by hand was replaced";
      std::string unread = kListFileNames[file];
      unread.insert(unread.size() - 4, ".unread");
      EXPECT_EQ(files.files[folder + unread], staged[file]);
    }
    EXPECT_EQ(loaded.messages == std::vector<std::string>{kListsKept}, !byOlder);
    EXPECT_FALSE(files.FileExists(folder + kCommitRecordName));
  }
}

}  // namespace
