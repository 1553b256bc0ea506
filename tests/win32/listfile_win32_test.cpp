// The list files through the real tree-view and the Win32 files: every
// sample reads and writes exactly as through the in-memory forest, and a
// saved set comes back with its links resolved to the control's items.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/appstate.h"
#include "base/clock.h"
#include "base/codepage.h"
#include "base/filesystem.h"
#include "base/prompts.h"
#include "base/taskrecord.h"
#include "data/listset.h"
#include "data/listwriter.h"
#include "fakes/manualclock.h"
#include "fakes/memoryforest.h"
#include "fakes/scriptedprompts.h"
#include "tests/win32/temp_folder.h"
#include "tests/win32/tree_window.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

const std::string kSamples = std::string(VELKIN_TEST_DATA) + "/lists/";

// Frees each record carried in the forests once, then empties them.
void FreeRecords(std::initializer_list<TaskForest*> forests) {
  std::unordered_set<TaskRecord*> records;
  for (TaskForest* forest : forests) {
    ForEachNode(*forest, [&](Node node) {
      if (TaskRecord* record = RecordOf(*forest, node)) records.insert(record);
    });
    forest->Delete(kRootNode);
  }
  for (TaskRecord* record : records) FreeTaskRecord(record);
}

std::vector<std::string> SampleNames() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((kSamples + "*.xml").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  if (!HostFileSystem()->ReadFile(path, &bytes)) return "<unreadable " + path + ">";
  return bytes;
}

struct Trees {
  std::unique_ptr<TaskForest> lists, active, done;
};

Trees MemoryTrees() {
  return Trees{std::make_unique<MemoryForest>(true), std::make_unique<MemoryForest>(false),
               std::make_unique<MemoryForest>(false)};
}

Trees ControlTrees() {
  return Trees{MakeTreeForest(true), MakeTreeForest(false), MakeTreeForest(false)};
}

class ListFilesOnTheControl : public ::testing::Test {
 protected:
  ScriptedPrompts prompts;
  ManualClock clock{DateTime{2008, 3, 5, 7, 9, 5, 0, 0}};
  TempFolder temp;

  void Use(Trees& trees) {
    ClearRegister(App().tasks);
    ResetAppState();
    App().lists = trees.lists.get();
    App().active = trees.active.get();
    App().done = trees.done.get();
    App().prompts = &prompts;
    App().clock = &clock;
    App().files = HostFileSystem();
    CopyField(App().dataFolderOverride, temp.path.c_str());
    prompts.Clear();
  }
  void TearDown() override {
    ClearRegister(App().tasks);
    ResetAppState();
  }

  struct Outcome {
    int loaded;
    std::vector<std::string> messages;
    std::string written;
    size_t registered;
  };

  // Loads a sample into one tree of the set, then saves that tree.
  Outcome RoundTrip(Trees& trees, TaskForest& tree, const std::string& sample, const std::string& out) {
    Use(trees);
    Outcome outcome;
    outcome.loaded = LoadTree(tree, kSamples + sample);
    outcome.messages = prompts.Texts();
    EXPECT_EQ(1, SaveTree(tree, out));
    outcome.written = ReadAll(out);
    outcome.registered = App().tasks.count;
    FreeRecords({trees.lists.get(), trees.active.get(), trees.done.get()});
    return outcome;
  }
};

TEST_F(ListFilesOnTheControl, EverySampleReadsAndWritesAsInMemory) {
  std::vector<std::string> samples = SampleNames();
  ASSERT_GE(samples.size(), 5u) << "samples expected in " << kSamples;
  Trees memory = MemoryTrees();
  Trees control = ControlTrees();
  ASSERT_TRUE(control.lists && control.active && control.done);
  for (const std::string& sample : samples) {
    SCOPED_TRACE(sample);
    // As the Lists tree (check boxes, records registered) and as Active
    // (link keys written from the nodes' places).
    for (int which = 0; which < 2; ++which) {
      SCOPED_TRACE(which == 0 ? "as Lists" : "as Active");
      Outcome a =
          RoundTrip(memory, which == 0 ? *memory.lists : *memory.active, sample, temp.path + "memory.xml");
      Outcome b = RoundTrip(control, which == 0 ? *control.lists : *control.active, sample,
                            temp.path + "control.xml");
      EXPECT_EQ(a.loaded, b.loaded);
      EXPECT_EQ(a.messages, b.messages);
      EXPECT_EQ(a.registered, b.registered);
      EXPECT_EQ(a.written, b.written);
      EXPECT_FALSE(b.written.empty());
    }
  }
}

TEST_F(ListFilesOnTheControl, SavedSetComesBackLinkedToTheControlsItems) {
  // A Lists task activated into Active: both files carry key 2.
  std::string lists = ReadAll(kSamples + "all-fields.xml");
  std::string active = ReadAll(kSamples + "active-links.xml");
  std::string current = temp.path + "current\\";
  ASSERT_TRUE(HostFileSystem()->CreateFolder(current));
  ASSERT_EQ(1, HostFileSystem()->WriteNewFile(current + "list.xml", lists));
  ASSERT_EQ(1, HostFileSystem()->WriteNewFile(current + "active.xml", active));
  ASSERT_EQ(1, HostFileSystem()->WriteNewFile(current + "done.xml", ReadAll(kSamples + "buy-milk.xml")));

  Trees control = ControlTrees();
  Use(control);
  ASSERT_EQ(1, LoadLists("current"));
  ResolveLinks();
  EXPECT_TRUE(prompts.shown().empty());

  TaskForest& l = *control.lists;
  TaskForest& a = *control.active;
  Node home = FirstChild(l, kRootNode);
  Node rent = FirstChild(l, home);
  Node today = FirstChild(a, kRootNode);
  Node rentCopy = FirstChild(a, today);
  ASSERT_TRUE(home && rent && today && rentCopy);
  EXPECT_EQ("Pay rent", TaskName(l, rent));
  EXPECT_EQ(kChecked, CheckStateOf(l, rent));
  EXPECT_TRUE(IsExpanded(l, home));
  EXPECT_NE(0u, l.GetState(home, kStateBold));
  TaskRecord* rentRecord = RecordOf(l, rent);
  TaskRecord* copyRecord = RecordOf(a, rentCopy);
  ASSERT_TRUE(rentRecord && copyRecord);
  EXPECT_EQ(rentCopy, rentRecord->link);
  EXPECT_EQ(rent, copyRecord->link);
  EXPECT_EQ(rent, rentRecord->treeitem);
  EXPECT_EQ(nullptr, RecordOf(a, today)->link);
  EXPECT_EQ(3u, App().tasks.count) << "every Lists record is registered";

  // Saved again, the set is the same text in UTF-8 (the samples are files
  // of earlier versions, in the system's legacy code page), and the same as
  // a set kept in memory would write.
  ASSERT_EQ(1, SaveLists("current"));
  std::string savedLists = ReadAll(current + "list.xml");
  std::string savedActive = ReadAll(current + "active.xml");
  std::string savedDone = ReadAll(current + "done.xml");
  for (std::string* sample : {&lists, &active}) {
    *sample = HostCodePage()->LegacyToUtf8(*sample);
    sample->replace(sample->find("Windows-1252"), 12, "UTF-8");
  }
  EXPECT_EQ(lists, savedLists);
  EXPECT_EQ(active, savedActive);
  FreeRecords({control.lists.get(), control.active.get(), control.done.get()});

  Trees memory = MemoryTrees();
  Use(memory);
  ASSERT_EQ(1, LoadLists("current"));
  ResolveLinks();
  EXPECT_EQ(savedLists, FormatListFile(*memory.lists));
  EXPECT_EQ(savedActive, FormatListFile(*memory.active));
  EXPECT_EQ(savedDone, FormatListFile(*memory.done));
  FreeRecords({memory.lists.get(), memory.active.get(), memory.done.get()});
}

// The save of the issue on Windows' own files: Beta activated in front of
// Alpha's copy while another program holds active.xml open. The save
// cannot finish; the start reads the new active.xml where it waits, and
// the first start after the file is let go finishes the save.
TEST_F(ListFilesOnTheControl, ASaveWaitingForALockedFileLoadsWhole) {
  Trees control = ControlTrees();
  Use(control);
  TaskForest& l = *control.lists;
  Node alpha = InsertTask(l, kRootNode, kLastNode, "Alpha");
  Node beta = InsertTask(l, kRootNode, kLastNode, "Beta");
  ASSERT_EQ(1, ActivateTask(l, alpha));
  ASSERT_EQ(1, SaveLists("current"));
  ASSERT_EQ(1, ActivateTask(l, beta));
  const std::string lists = FormatListFile(l);
  const std::string active = FormatListFile(*control.active);
  const std::string current = temp.path + "current\\";

  HANDLE held = CreateFileA((current + "active.xml").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_EQ(0, SaveLists("current"));
  EXPECT_EQ(lists, ReadAll(current + "list.xml"));
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "active.xml held" : "active.xml let go");
    if (round == 1) CloseHandle(held);
    FreeRecords({control.lists.get(), control.active.get(), control.done.get()});
    ClearRegister(App().tasks);
    ASSERT_EQ(1, LoadLists("current"));
    ResolveLinks();
    EXPECT_TRUE(prompts.shown().empty());
    EXPECT_EQ(lists, FormatListFile(l));
    EXPECT_EQ(active, FormatListFile(*control.active));
  }
  EXPECT_EQ(active, ReadAll(current + "active.xml"));
  EXPECT_FALSE(HostFileSystem()->FileExists(current + "lists.journal"));
  EXPECT_FALSE(HostFileSystem()->FileExists(current + "active.xml.tmp"));
  FreeRecords({control.lists.get(), control.active.get(), control.done.get()});
}

}  // namespace
