// Capture and find: text pasted back as tasks, the quick-add Inbox, the
// find filter over the three trees, the export formats and the hot key's
// stored form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/clipboard.h"
#include "base/hotkey.h"
#include "base/settingsstore.h"
#include "base/taskrecord.h"
#include "data/treerecords.h"
#include "fakes/memoryclipboard.h"
#include "fakes/memorysettings.h"
#include "fixture.h"
#include "tree/commands.h"
#include "tree/export.h"
#include "tree/findtask.h"
#include "tree/pastetext.h"
#include "tree/quickadd.h"
#include "tree/tasktree.h"

namespace {

// "0:A|1:B": each line's depth and name.
std::string Lines(const char* text) {
  std::string shape;
  for (const TaskLine& line : ParseTaskLines(text))
    shape += (shape.empty() ? "" : "|") + std::to_string(line.depth) + ":" + line.name;
  return shape;
}

TEST(TaskLines, IndentsMarkersJumpsAndLimits) {
  const std::string longName(300, 'n');
  const struct {
    const char* text;
    std::string lines;
  } kCases[] = {
      {"A\r\n\tB\r\n\t\tC\r\n\tD\r\nE\r\n", "0:A|1:B|2:C|1:D|0:E"},
      {"A\n\tB\rC", "0:A|1:B|0:C"},                             // any line break
      {"\r\n  \r\nA\r\n\t\r\n\r\n\tB\r\n\r\n", "0:A|1:B"},      // blank lines skipped
      {"A\r\n\t\t\tB\r\n\t\t\t\tC\r\n\tD", "0:A|1:B|2:C|1:D"},  // a jump is one level
      {"\t\tA\r\n\t\t\tB\r\n\tC", "0:A|1:B|0:C"},               // from its least indent
      {"\tA\r\n\t\tB", "0:A|1:B"},
      {"- A\n  - B\n    - C\n- D", "0:A|1:B|2:C|0:D"},            // two-space Markdown
      {"* A\n    * B\n        * C\n    * D", "0:A|1:B|2:C|1:D"},  // four spaces
      {"- [ ] A\n  - [x] B\n  - [X] C\n- D", "0:A|1:B|1:C|0:D"},
      {"- A\n\t- B", "0:A|1:B"},
      {"- A\nplain\n  - B", "0:- A|0:plain|0:  - B"},  // not every line an item: kept as written
      {"A  \r\n\t  B", "0:A  |1:  B"},                 // spaces belong to the name
      {"-A\n*B", "0:-A|0:*B"},
      {"", ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(Lines(c.text), c.lines) << c.text;
  const std::vector<TaskLine> cut = ParseTaskLines(("\t" + longName + "\r\n").c_str());
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].name, longName.substr(0, kMaxNameLength));
}

struct Capture : AppFixture {
  MemoryClipboard clipboard;
  void SetUp() override {
    AppFixture::SetUp();
    App().clipboard = &clipboard;
  }
  void TearDown() override {
    ResetCommands();
    AppFixture::TearDown();
  }
  Node Add(TaskForest& tree, Node parent, const char* name) {
    return InsertTask(tree, parent ? parent : kRootNode, kLastNode, name);
  }
  std::string Text(TaskForest& tree, Node start = nullptr) {
    std::vector<char> buffer(TreeTextLength(tree, start, 0) + 1);
    return std::string(buffer.data(), WriteTreeText(tree, start, 0, buffer.data()));
  }
  void Clip(const std::string& text) { clipboard.SetText(nullptr, text.data(), text.size()); }
};

TEST_F(Capture, CopyTextThenPasteGivesBackTheSameTree) {
  Node work = Add(lists, nullptr, "Work");
  Node prepare = Add(lists, work, "Prepare the workshop");
  Add(lists, Add(lists, prepare, "Slides"), "- not a marker");
  Add(lists, prepare, "  spaced ");
  Add(lists, work, "Mail");
  Node home = Add(lists, nullptr, "Home");
  const std::string before = Text(lists);
  ASSERT_EQ(CopyText(lists, work), 1);
  // Paste Below (Ctrl+B) puts the copy right after Work, Paste Into
  // (Ctrl+V) as Home's first child.
  EXPECT_TRUE(HandleTreeKey(lists, work, 'B', true));
  EXPECT_EQ(Text(lists), before.substr(0, before.find("Home")) + Text(lists, work) + "Home\r\n");
  EXPECT_EQ(Text(lists, NextSibling(lists, work)), Text(lists, work));
  EXPECT_NE(lists.GetState(NextSibling(lists, work), kStateBold) & kStateBold, 0u);
  EXPECT_EQ(SelectedNode(lists), NextSibling(lists, work));
  EXPECT_EQ(PasteTask(lists, home, true), 1);
  EXPECT_EQ(Text(lists, FirstChild(lists, home)), Text(lists, work));
  EXPECT_TRUE(IsExpanded(lists, home));
  // Every pasted task is a registered task with its own record.
  EXPECT_EQ(App().tasks.count, lists.Count());
}

TEST_F(Capture, PasteWithoutATargetGoesToTheEndAndACutStillComesFirst) {
  Node a = Add(lists, nullptr, "A");
  Node b = Add(lists, nullptr, "B");
  Clip("X\r\n\tY\r\n");
  // The menu offers Paste when there is text, only in Lists.
  EXPECT_FALSE(IsGreyed(MenuFor(lists, a), kCmdPasteInto));
  EXPECT_TRUE(IsGreyed(MenuFor(active, Add(active, nullptr, "Today")), kCmdPasteInto));
  EXPECT_EQ(DispatchTreeCommand(lists, nullptr, kCmdPasteBelow), 1);
  EXPECT_EQ(Text(lists), "A\r\nB\r\nX\r\n\tY\r\n");
  EXPECT_EQ(PasteTask(done, nullptr, true), 0);
  // With a cut pending, Paste moves the cut task and leaves the text alone.
  CutTask(lists, a);
  EXPECT_EQ(PasteTask(lists, b, true), 1);
  EXPECT_EQ(Text(lists), "B\r\n\tA\r\nX\r\n\tY\r\n");
  Clip("\r\n \t\r\n");
  EXPECT_TRUE(IsGreyed(MenuFor(lists, b), kCmdPasteBelow));
  EXPECT_EQ(PasteTask(lists, b, false), 0);
}

TEST_F(Capture, QuickAddGoesToTheEndOfTheInboxMadeWhenMissing) {
  Add(lists, nullptr, "Work");
  EXPECT_EQ(AddToInbox(" \r\n\t"), 0);
  EXPECT_EQ(Text(lists), "Work\r\n");  // nothing typed, no Inbox
  EXPECT_EQ(AddToInbox("  Call Anna \r\n\r\nBuy\tmilk\n"), 2);
  EXPECT_EQ(Text(lists), "Work\r\nInbox\r\n\tCall Anna\r\n\tBuy\tmilk\r\n");
  Node inbox = NextSibling(lists, FirstChild(lists, kRootNode));
  EXPECT_NE(lists.GetState(inbox, kStateBold) & kStateBold, 0u);
  EXPECT_TRUE(IsExpanded(lists, inbox));
  // An Inbox of any case is found again, wherever it stands.
  SetTaskName(lists, inbox, "inbox");
  Add(lists, nullptr, "Home");
  EXPECT_EQ(AddToInbox("Pay"), 1);
  EXPECT_EQ(Text(lists), "Work\r\ninbox\r\n\tCall Anna\r\n\tBuy\tmilk\r\n\tPay\r\nHome\r\n");
  EXPECT_EQ(App().tasks.count, lists.Count());
}

TEST_F(Capture, FindMatchesAnywhereInAnyCaseOverTheThreeTabs) {
  Node work = Add(lists, nullptr, "Work");
  Node slides = Add(lists, Add(lists, work, "Prepare the workshop"), "Slides");
  Add(lists, nullptr, "Home");
  Node today = Add(active, nullptr, "Today");
  Add(active, today, "Order SLIDE clicker");
  Add(done, Add(done, nullptr, "Completed"), "Caf\xC3\x89 slides");             // UTF-8
  Add(done, nullptr, "\xE3\xA3\x80 \xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82");  // a CJK character, "Отчёт"
  TaskIndex index;
  BuildTaskIndex(&index);
  std::vector<size_t> matches;
  EXPECT_EQ(FilterTasks(index, "sLiD", 100, &matches), 3u);
  std::vector<std::string> labels;
  for (size_t m : matches) labels.push_back(FoundTaskLabel(index, m));
  EXPECT_EQ(labels, (std::vector<std::string>{"Lists: Work > Prepare the workshop > Slides",
                                              "Active: Today > Order SLIDE clicker",
                                              "Done: Completed > Caf\xC3\x89 slides"}));
  EXPECT_EQ(FilterTasks(index, "caf\xC3\xA9", 100, &matches), 1u);  // é finds É
  EXPECT_EQ(FilterTasks(index, "\xD0\x9E\xD0\xA2\xD0\xA7\xD0\x81\xD0\xA2", 100, &matches), 1u);  // ОТЧЁТ
  // Folding keeps characters whole: "ã" is not found inside another one.
  EXPECT_EQ(FilterTasks(index, "\xC3\xA3", 100, &matches), 0u);
  EXPECT_EQ(FilterTasks(index, "slides", 1, &matches), 2u);
  EXPECT_EQ(matches.size(), 1u);
  EXPECT_EQ(FilterTasks(index, "", 100, &matches), 0u);
  EXPECT_EQ(FilterTasks(index, "workshops", 100, &matches), 0u);
  EXPECT_EQ(FilterTasks(index, "o", 100, &matches), 6u);
  FilterTasks(index, "slides", 100, &matches);
  const FoundTask found = LocateFoundTask(index, matches[0]);
  EXPECT_EQ(found.tab, 0);
  EXPECT_EQ(found.node, slides);
  // A task deleted since the index was taken is not offered to select.
  RemoveSubtree(lists, work, true);
  EXPECT_EQ(LocateFoundTask(index, matches[0]).tab, -1);
  EXPECT_EQ(LocateFoundTask(index, matches[1]).tab, 2);
}

TEST_F(Capture, ExportWritesEveryTabAsMarkdownOrQuotedCsv) {
  Node work = Add(lists, nullptr, "Work");
  Node slides = Add(lists, work, "Slides, \"final\"");
  TaskRecord* record = RecordOf(lists, slides);
  record->duedateset = 1;
  CopyField(record->duedate, "12-9-2026");
  CopyField(record->enterdate, "12-1-2026 9:00");
  Add(active, Add(active, nullptr, "Today"), "Call");
  Node old = Add(done, Add(done, nullptr, "Completed"), "Old");
  CopyField(RecordOf(done, old)->completedate, "12-2-2026 10:30");
  EXPECT_EQ(ExportFor("C:\\x\\tasks.md"),
            "# Lists\r\n\r\n- [ ] Work\r\n  - [ ] Slides, \"final\" (due 12-9-2026)\r\n"
            "\r\n# Active\r\n\r\n- [ ] Today\r\n  - [ ] Call\r\n"
            "\r\n# Done\r\n\r\n- [x] Completed\r\n  - [x] Old\r\n");
  const std::string csv = ExportFor("tasks.CSV");
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")), "tab,path,name,state,entered,activated,completed,due");
  EXPECT_NE(csv.find("\r\nLists,Work,\"Slides, \"\"final\"\"\",open,12-1-2026 9:00,,,12-9-2026\r\n"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("\r\nDone,Completed,Old,done,"), std::string::npos);
  EXPECT_NE(csv.find(",12-2-2026 10:30,\r\n"), std::string::npos);
}

TEST(HotKeySetting, DefaultStoredNoneAndTheControlsWord) {
  MemorySettingsStore store;
  // A bare or Shift-only letter would be taken from every program.
  EXPECT_FALSE(IsUsableHotKey(HotKey{0, 'N'}));
  EXPECT_FALSE(IsUsableHotKey(HotKey{kModShift, 'N'}));
  EXPECT_TRUE(IsUsableHotKey(HotKey{0, 0x76}));
  EXPECT_EQ(HotKeyText(ReadHotKey(store)), "Win+Alt+N");
  const struct {
    unsigned controlValue;
    bool win;
    const char* text;
  } kCases[] = {
      {0x0445, true, "Win+Alt+E"},       // HOTKEYF_ALT
      {0x0371, false, "Ctrl+Shift+F2"},  // HOTKEYF_CONTROL | HOTKEYF_SHIFT
      {0x0000, true, "none"},
  };
  for (const auto& c : kCases) {
    const HotKey key = HotKeyFromControl(c.controlValue, c.win);
    EXPECT_EQ(HotKeyText(key), c.text);
    ASSERT_EQ(WriteHotKey(store, key), 1);
    const HotKey back = ReadHotKey(store);
    EXPECT_EQ(HotKeyText(back), c.text);  // "none" stays none, not the default
    EXPECT_EQ(ControlValueOf(back), c.controlValue);
  }
}

}  // namespace
