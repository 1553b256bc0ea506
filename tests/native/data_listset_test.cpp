#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/appstate.h"
#include "base/codepage.h"
#include "base/filesystem.h"
#include "data/datafolder.h"
#include "data/listset.h"
#include "data/listwriter.h"
#include "data_helpers.h"
#include "fakes/memoryfiles.h"
#include "fixture.h"
#include "tree/commands.h"

namespace {

using Texts = std::vector<std::string>;

constexpr char kData[] = "C:\\Users\\u\\AppData\\Roaming\\Velkin 1.0\\";
const std::string kCurrent = std::string(kData) + "current\\";

struct ListSet : AppFixture {
  void SetUp() override {
    AppFixture::SetUp();
    CopyField(App().dataFolderOverride, kData);
  }
  std::string& File(const std::string& name) { return files.files[kCurrent + name]; }
  bool Has(const std::string& name) { return files.FileExists(kCurrent + name); }
  std::vector<std::string> Names(TaskForest& tree) {
    std::vector<std::string> names;
    ForEachNode(tree, [&](Node node) { names.push_back(TaskName(tree, node)); });
    return names;
  }
  std::set<std::string> FileNames() {
    std::set<std::string> names;
    for (const auto& file : files.files) names.insert(file.first);
    return names;
  }
  void EmptyTrees() {
    FreeForestRecords(lists);
    FreeForestRecords(active);
    FreeForestRecords(done);
  }
};
using ListSetErrors = ListSet;

TEST_F(ListSet, FirstRunCreatesTheFoldersAndLoadsNothing) {
  EXPECT_EQ(LoadLists("current"), 0);
  EXPECT_TRUE(files.folders.count("C:\\Users\\u\\AppData\\Roaming\\Velkin 1.0"));
  EXPECT_TRUE(files.folders.count(kCurrent.substr(0, kCurrent.size() - 1)));
  EXPECT_EQ(lists.Count() + active.Count() + done.Count(), 0u);
  EXPECT_TRUE(prompts.shown().empty());
  for (uint8_t flag : App().unreadListFile) EXPECT_EQ(flag, 0);
}

TEST_F(ListSet, SavesTheThreeFiles) {
  InsertTask(lists, kRootNode, kLastNode, "Buy milk");
  ASSERT_EQ(SaveLists("current"), 1);
  EXPECT_EQ(File("list.xml"), FormatListFile(lists));
  EXPECT_EQ(File("active.xml"), ListText({}));
  EXPECT_EQ(File("done.xml"), ListText({}));
  EXPECT_EQ(FileNames().size(), 3u);  // no temporary file left
}

// Every name the program can hold comes back byte for byte.
TEST_F(ListSet, NamesRoundTripByteForByte) {
  // Every Windows-1252 letter, and some of other scripts, as UTF-8.
  Windows1252CodePage western;
  std::string bytes;
  for (int c = 1; c < 256; ++c) {
    const std::string one = western.LegacyToUtf8(std::string(1, static_cast<char>(c)));
    if (CleanTaskName(one.c_str()) == one) bytes += one;
  }
  bytes += "\xC4\x8C\xE6\x97\xA5\xE6\x9C\xAC\xE2\x9C\x93\xF0\x9F\x98\x80";
  ASSERT_GT(bytes.size(), 240u);
  std::vector<std::string> names;
  for (size_t at = 0, size = 0; at < bytes.size(); at += size) {
    size = Utf8Prefix(bytes.data() + at, bytes.size() - at, 13);
    names.push_back(bytes.substr(at, size));
  }
  names.push_back(std::string(kMaxNameLength, 'z'));
  const std::string mixed = bytes + bytes;
  names.push_back(mixed.substr(0, Utf8Prefix(mixed.data(), mixed.size(), kMaxNameLength)));
  names.push_back(" \t leading and trailing \r\n");

  for (TaskForest* tree : {App().lists, App().active, App().done}) {
    Node parent = kRootNode;
    for (const std::string& name : names) {
      Node node = InsertTask(*tree, parent, kLastNode, name.c_str());
      ASSERT_NE(node, nullptr);
      ASSERT_EQ(TaskName(*tree, node), name);
      if (parent == kRootNode) parent = node;
    }
  }
  ASSERT_EQ(SaveLists("current"), 1);
  EmptyTrees();
  ASSERT_EQ(LoadLists("current"), 1);
  EXPECT_TRUE(prompts.shown().empty());
  EXPECT_EQ(Names(lists), names);
  EXPECT_EQ(Names(active), names);
  EXPECT_EQ(Names(done), names);
  EXPECT_EQ(App().tasks.count, names.size());
}

TEST_F(ListSet, LinksSurviveSaveAndLoad) {
  Node folder = InsertTask(lists, kRootNode, kLastNode, "Folder");
  Node task = InsertTask(lists, folder, kLastNode, "Task");
  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  Node other = InsertTask(active, today, kLastNode, "Other");
  Node copy = InsertTask(active, today, kLastNode, "Task");
  ASSERT_TRUE(folder && task && today && other && copy);
  ToggleChecked(lists, task);
  RecordOf(lists, task)->link = copy;
  RecordOf(active, copy)->link = task;

  ASSERT_EQ(SaveLists("current"), 1);
  EmptyTrees();
  ASSERT_EQ(LoadLists("current"), 1);
  Node newTask = NodeAt(lists, {0, 0});
  Node newCopy = NodeAt(active, {0, 1});
  ASSERT_TRUE(newTask && newCopy);
  // The keys are positions in Active's tree order, the same in both files.
  EXPECT_EQ(RecordOf(lists, newTask)->linkkey, 3);
  EXPECT_EQ(RecordOf(active, newCopy)->linkkey, 3);
  EXPECT_EQ(RecordOf(active, NodeAt(active, {0}))->linkkey, 1);
  EXPECT_EQ(RecordOf(lists, NodeAt(lists, {0}))->linkkey, 0);

  ResolveLinks();
  EXPECT_TRUE(prompts.shown().empty());
  EXPECT_EQ(RecordOf(lists, newTask)->link, newCopy);
  EXPECT_EQ(RecordOf(active, newCopy)->link, newTask);
  EXPECT_EQ(RecordOf(active, newCopy)->paired, 1);
  EXPECT_EQ(RecordOf(active, NodeAt(active, {0}))->link, nullptr);
  EXPECT_EQ(RecordOf(active, NodeAt(active, {0, 0}))->link, nullptr);
  EXPECT_EQ(CheckStateOf(lists, newTask), kChecked);
}

TEST_F(ListSetErrors, FailedWriteKeepsThePreviousFile) {
  InsertTask(lists, kRootNode, kLastNode, "Saved");
  ASSERT_EQ(SaveLists("current"), 1);
  const std::string before = File("list.xml");
  InsertTask(lists, kRootNode, kLastNode, "Not saved");

  files.FailWritesTo("list.xml", 40);
  EXPECT_EQ(SaveLists("current"), 0);
  EXPECT_EQ(File("list.xml"), before);
  EXPECT_EQ(FileNames().size(), 3u);

  // A later file failing keeps the whole set as it was: list.xml is not
  // replaced before done.xml could be written.
  InsertTask(done, kRootNode, kLastNode, "Completed");
  const std::string doneBefore = File("done.xml");
  files.FailWritesTo("done.xml", 0);
  EXPECT_EQ(SaveLists("current"), 0);
  EXPECT_EQ(File("list.xml"), before);
  EXPECT_EQ(File("done.xml"), doneBefore);
  EXPECT_EQ(FileNames().size(), 3u);
}

// The link keys of list.xml name Active items by position: a new list.xml
// beside an old active.xml would pair the wrong tasks after a restart.
TEST_F(ListSetErrors, AHalfFailedSaveNeverMixesTheLinksOfTwoSaves) {
  Node alpha = InsertTask(lists, kRootNode, kLastNode, "Alpha");
  Node beta = InsertTask(lists, kRootNode, kLastNode, "Beta");
  Node today = InsertTask(active, kRootNode, kLastNode, "Today");
  Node alphaCopy = InsertTask(active, today, kFirstNode, "Alpha");
  ToggleChecked(lists, alpha);
  RecordOf(lists, alpha)->link = alphaCopy;
  RecordOf(active, alphaCopy)->link = alpha;
  ASSERT_EQ(SaveLists("current"), 1);

  // Beta is activated in front of Alpha's copy; active.xml cannot be written.
  Node betaCopy = InsertTask(active, today, kFirstNode, "Beta");
  ToggleChecked(lists, beta);
  RecordOf(lists, beta)->link = betaCopy;
  RecordOf(active, betaCopy)->link = beta;
  files.FailWritesTo("active.xml", 10);
  EXPECT_EQ(SaveLists("current"), 0);

  EmptyTrees();
  ASSERT_EQ(LoadLists("current"), 1);
  ResolveLinks();
  EXPECT_TRUE(prompts.shown().empty());
  Node loadedAlpha = NodeAt(lists, {0});
  Node loadedBeta = NodeAt(lists, {1});
  ASSERT_TRUE(loadedAlpha && loadedBeta);
  ASSERT_NE(RecordOf(lists, loadedAlpha)->link, nullptr);
  EXPECT_EQ(TaskName(active, RecordOf(lists, loadedAlpha)->link), "Alpha");
  EXPECT_EQ(RecordOf(lists, loadedBeta)->link, nullptr);
  EXPECT_EQ(CheckStateOf(lists, loadedBeta), kUnchecked);
}

// The same with the replace of active.xml failing (an editor or a virus
// scanner holds it) after list.xml was replaced: the commit record moves
// the new active.xml in at the next start, or, while the file stays
// locked, the start reads it where it waits.
TEST_F(ListSetErrors, AReplaceThatFailsAfterTheFirstIsFinishedByTheNextStart) {
  Node alpha = InsertTask(lists, kRootNode, kLastNode, "Alpha");
  Node beta = InsertTask(lists, kRootNode, kLastNode, "Beta");
  ActivateTask(lists, alpha);
  ASSERT_EQ(SaveLists("current"), 1);
  ActivateTask(lists, beta);  // in front of Alpha's copy
  const std::string newList = FormatListFile(lists);
  const std::string newActive = FormatListFile(active);

  files.FailOperation(FileOp::kRename, 2);
  EXPECT_EQ(SaveLists("current"), 0);
  EXPECT_EQ(File("list.xml"), newList);
  EXPECT_NE(File("active.xml"), newActive);

  for (bool locked : {true, false}) {
    SCOPED_TRACE(locked ? "active.xml still locked" : "lock gone");
    files.FailReplaces(locked);
    EmptyTrees();
    ASSERT_EQ(LoadLists("current"), 1);
    ResolveLinks();
    EXPECT_TRUE(prompts.shown().empty());
    EXPECT_EQ(FormatListFile(lists), newList);
    EXPECT_EQ(FormatListFile(active), newActive);
    EXPECT_EQ(TaskName(active, RecordOf(lists, NodeAt(lists, {1}))->link), "Beta");
    // A save cannot go ahead of the one still to be finished.
    EXPECT_EQ(SaveLists("current"), locked ? 0 : 1);
  }
  EXPECT_EQ(File("active.xml"), newActive);
  EXPECT_EQ(FileNames().size(), 3u);
}

TEST_F(ListSetErrors, RootWithoutVersionStopsTheSet) {
  InsertTask(lists, kRootNode, kLastNode, "Replaced");
  InsertTask(active, kRootNode, kLastNode, "Untouched");
  File("list.xml") = "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\r\n\r\n<list>\r\n</list>\r\n";
  File("active.xml") = ListText({"<item><name>A</name></item>"});
  File("done.xml") = ListText({"<item><name>D</name></item>"});
  EXPECT_EQ(LoadLists("current"), 0);
  EXPECT_EQ(lists.Count(), 0u);
  EXPECT_EQ(Shape(active), "Untouched");
  EXPECT_EQ(done.Count(), 0u);
}

// A set that did not load whole is kept beside the new files, never
// overwritten by what little was read of it.
TEST_F(ListSetErrors, UnreadFilesAreKeptBeforeTheFirstSave) {
  InsertTask(lists, kRootNode, kLastNode, "First");
  InsertTask(lists, kRootNode, kLastNode, "Second");
  InsertTask(active, kRootNode, kLastNode, "Today");
  InsertTask(done, kRootNode, kLastNode, "Completed");
  ASSERT_EQ(SaveLists("current"), 1);
  const std::string whole = File("list.xml");
  const std::string truncated = whole.substr(0, whole.find("<name>Second") + 3);
  File("list.xml") = truncated;
  const std::string activeBefore = File("active.xml");
  const std::string doneBefore = File("done.xml");
  EmptyTrees();

  EXPECT_EQ(LoadLists("current"), 0);
  EXPECT_EQ(prompts.Texts(), Texts{"Bad character in XML tag"});
  EXPECT_EQ(Shape(lists), "First,");
  EXPECT_EQ(active.Count() + done.Count(), 0u);

  InsertTask(lists, kRootNode, kLastNode, "Edited");
  ASSERT_EQ(SaveLists("current"), 1);
  EXPECT_EQ(File("list.unread.xml"), truncated);
  EXPECT_EQ(File("active.unread.xml"), activeBefore);
  EXPECT_EQ(File("done.unread.xml"), doneBefore);
  EXPECT_NE(File("list.xml").find("<name>Edited</name>"), std::string::npos);
  EXPECT_EQ(File("active.xml"), ListText({}));
  const auto afterFirst = FileNames();
  EXPECT_EQ(afterFirst.size(), 6u);

  ASSERT_EQ(SaveLists("current"), 1);
  EXPECT_EQ(FileNames(), afterFirst);
  EXPECT_EQ(File("list.unread.xml"), truncated);

  // Another failed load finds the first name taken.
  File("list.xml") = truncated;
  EmptyTrees();
  EXPECT_EQ(LoadLists("current"), 0);
  ASSERT_EQ(SaveLists("current"), 1);
  EXPECT_EQ(File("list.unread-2.xml"), truncated);
  EXPECT_EQ(File("active.unread-2.xml"), ListText({}));
  EXPECT_EQ(File("list.unread.xml"), truncated);
}

// Lists the start did not see, because the data folder appeared only
// after it (a network folder connected late), could not be made then, or
// is another one now, are kept before the first save replaces them with
// the tutorial, and the user is told; a later save keeps nothing more.
TEST_F(ListSetErrors, ListsThatAppearAfterTheStartAreKeptBeforeASave) {
  const std::string elsewhere = "D:\\Roaming\\Velkin 1.0\\";
  const struct {
    const char* start;
    std::function<void()> load;
  } cases[] = {
      {"the folder was empty", [] { LoadLists("current"); }},
      {"the folder could not be made",
       [this] {
         files.FailFolders(true);
         LoadLists("current");
         files.FailFolders(false);
       }},
      {"another data folder",
       [&] {
         CopyField(App().dataFolderOverride, elsewhere.c_str());
         files.CreateFolder(elsewhere + "current");
         files.files[elsewhere + "current\\list.xml"] = ListText({"<item><name>Elsewhere</name></item>"});
         LoadLists("current");
         CopyField(App().dataFolderOverride, kData);
       }},
  };
  const std::string theirs[kListFileCount] = {ListText({"<item><name>Real task</name></item>"}),
                                              ListText({"<item><name>Today</name></item>"}),
                                              ListText({"<item><name>Completed</name></item>"})};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.start);
    files.Clear();
    prompts.Clear();
    EmptyTrees();
    c.load();
    InsertTask(lists, kRootNode, kLastNode, "Tutorial");
    files.CreateFolder(kData);
    files.CreateFolder(kCurrent);
    for (int file = 0; file < kListFileCount; ++file) File(kListFileNames[file]) = theirs[file];

    ASSERT_EQ(SaveLists("current"), 1);
    EXPECT_EQ(File("list.unread.xml"), theirs[kListsFile]);
    EXPECT_EQ(File("active.unread.xml"), theirs[kActiveFile]);
    EXPECT_EQ(File("done.unread.xml"), theirs[kDoneFile]);
    EXPECT_EQ(File("list.xml"), FormatListFile(lists));
    EXPECT_EQ(prompts.Texts(), Texts{kListsKept});
    EXPECT_EQ(App().listsIncomplete, 1);

    const auto afterFirst = FileNames();
    prompts.Clear();
    ASSERT_EQ(SaveLists("current"), 1);
    EXPECT_EQ(FileNames(), afterFirst);
    EXPECT_TRUE(prompts.shown().empty());
  }
}

TEST_F(ListSetErrors, MissingListFileKeepsTheOthers) {
  File("active.xml") = ListText({"<item><name>Today</name></item>"});
  File("done.xml") = ListText({"<item><name>Completed</name></item>"});
  EXPECT_EQ(LoadLists("current"), 0);
  EXPECT_EQ(App().unreadListFile[kListsFile], 0);
  EXPECT_EQ(App().unreadListFile[kActiveFile], 1);
  ASSERT_EQ(SaveLists("current"), 1);
  EXPECT_EQ(File("active.unread.xml"), ListText({"<item><name>Today</name></item>"}));
  EXPECT_EQ(File("done.unread.xml"), ListText({"<item><name>Completed</name></item>"}));
  EXPECT_FALSE(Has("list.unread.xml"));
}

TEST_F(ListSetErrors, KeepingFailsTheSaveAndLeavesTheFile) {
  File("list.xml") = "broken";
  EXPECT_EQ(LoadLists("current"), 0);
  // Something of the kept name that a file cannot be moved onto.
  files.CreateFolder(kCurrent + "list.unread.xml");
  EXPECT_EQ(SaveLists("current"), 0);
  EXPECT_EQ(File("list.xml"), "broken");
  EXPECT_FALSE(Has("list.xml.tmp"));
  EXPECT_EQ(App().unreadListFile[kListsFile], 1);
}

TEST_F(ListSet, AWholeLoadLeavesNothingToKeep) {
  InsertTask(lists, kRootNode, kLastNode, "Task");
  ASSERT_EQ(SaveLists("current"), 1);
  EmptyTrees();
  ASSERT_EQ(LoadLists("current"), 1);
  ASSERT_EQ(SaveLists("current"), 1);
  EXPECT_EQ(FileNames().size(), 3u);
}

TEST_F(ListSet, BackupsGoToTheDatedFolder) {
  InsertTask(lists, kRootNode, kLastNode, "Saved");
  ASSERT_EQ(SaveLists("current"), 1);
  const std::string current = File("list.xml");
  InsertTask(lists, kRootNode, kLastNode, "Edited");

  EXPECT_EQ(BackupLists(), 1);
  EXPECT_EQ(prompts.Texts(), Texts{"Backup succeeded!"});
  const std::string dated = std::string(kData) + "3-7-2008\\";
  for (const char* name : kListFileNames) EXPECT_TRUE(files.FileExists(dated + name)) << name;
  EXPECT_NE(files.files[dated + "list.xml"].find("Edited"), std::string::npos);
  EXPECT_EQ(File("list.xml"), current);

  // A second backup the same day writes over the first.
  InsertTask(lists, kRootNode, kLastNode, "Later");
  EXPECT_EQ(BackupLists(), 1);
  EXPECT_NE(files.files[dated + "list.xml"].find("Later"), std::string::npos);
  EXPECT_EQ(FileNames().size(), 6u);

  // A backup after a failed load is no save of "current": nothing is kept.
  // It says that it holds only what was read, also after "current" was
  // saved (the trees still lack what was not read).
  File("list.xml") = "broken";
  prompts.Clear();
  EXPECT_EQ(LoadLists("current"), 0);
  EXPECT_EQ(BackupLists(), 1);
  EXPECT_FALSE(Has("list.unread.xml"));
  EXPECT_EQ(File("list.xml"), "broken");
  ASSERT_EQ(SaveLists("current"), 1);
  EXPECT_EQ(BackupLists(), 1);
  EXPECT_EQ(prompts.Texts(), (Texts{kBackupIncomplete, kBackupIncomplete}));

  // A first start (no files at all) misses nothing.
  prompts.Clear();
  files.files.clear();
  EXPECT_EQ(LoadLists("current"), 0);
  EXPECT_EQ(BackupLists(), 1);
  EXPECT_EQ(prompts.Texts(), Texts{"Backup succeeded!"});
}

TEST_F(ListSetErrors, BackupFailure) {
  files.FailFolders(true);
  EXPECT_EQ(BackupLists(), 0);
  EXPECT_EQ(prompts.Texts(), Texts{"Backup failed!"});
  EXPECT_TRUE(files.files.empty());
}

}  // namespace
