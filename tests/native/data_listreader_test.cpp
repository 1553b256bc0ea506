#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/filesystem.h"
#include "data/listreader.h"
#include "data_helpers.h"
#include "fixture.h"

namespace {

using Texts = std::vector<std::string>;

std::string CorpusFile(const char* name) {
  std::string bytes;
  const std::string path = std::string(VELKIN_TEST_DATA) + "/lists/" + name;
  EXPECT_TRUE(HostFileSystem()->ReadFile(path, &bytes)) << path;
  return bytes;
}

struct ListFileReader : AppFixture {
  std::string NameAt(TaskForest& tree, std::initializer_list<int> path) {
    Node node = NodeAt(tree, path);
    return node ? TaskName(tree, node) : "<none>";
  }
  TaskRecord& RecordAt(TaskForest& tree, std::initializer_list<int> path) {
    static TaskRecord none{};
    Node node = NodeAt(tree, path);
    TaskRecord* record = node ? RecordOf(tree, node) : nullptr;
    EXPECT_NE(record, nullptr);
    return record ? *record : none;
  }
};
using ListFileErrors = ListFileReader;

TEST_F(ListFileReader, EmptyFileReadsAsAnEmptyTree) {
  EXPECT_EQ(ReadText(lists, ListText({})), 1);
  EXPECT_EQ(lists.Count(), 0u);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ListFileReader, CorpusExample) {
  EXPECT_EQ(ReadText(lists, CorpusFile("buy-milk.xml")), 1);
  EXPECT_EQ(Shape(lists), "Buy milk(Semi-skimmed)");
  EXPECT_STREQ(RecordAt(lists, {0}).enterdate, "3-7-2008 9:05");
  EXPECT_STREQ(RecordAt(lists, {0, 0}).enterdate, "3-7-2008 9:06");
  EXPECT_EQ(CheckStateOf(lists, NodeAt(lists, {0})), kUnchecked);
  EXPECT_FALSE(IsExpanded(lists, NodeAt(lists, {0})));
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ListFileReader, EveryFieldAndFlag) {
  EXPECT_EQ(ReadText(lists, CorpusFile("all-fields.xml")), 1);
  EXPECT_EQ(Shape(lists), "Home(Pay rent),Ideas \xC2\xABold\xC2\xBB caf\xC3\xA9");
  Node home = NodeAt(lists, {0});
  EXPECT_EQ(lists.GetState(home, kStateBold), unsigned(kStateBold));
  EXPECT_TRUE(IsExpanded(lists, home));
  EXPECT_EQ(CheckStateOf(lists, home), kChecked);

  TaskRecord& rent = RecordAt(lists, {0, 0});
  EXPECT_STREQ(rent.enterdate, "1-2-2008 8:01");
  EXPECT_STREQ(rent.activedate, "1-3-2008 10:15");
  EXPECT_STREQ(rent.completedate, "1-4-2008 23:59");
  EXPECT_STREQ(rent.duedate, "2-1-2008");
  EXPECT_STREQ(rent.autodate, "1-31-2008");
  EXPECT_STREQ(rent.autotime, "7:30");
  // The flags hold their bits' values; the link stays a key until resolved.
  EXPECT_EQ(rent.duedateset, 0x08);
  EXPECT_EQ(rent.autoactivate, 0x10);
  EXPECT_EQ(rent.autotimeset, 0x20);
  EXPECT_EQ(rent.notify, 0x40);
  EXPECT_EQ(rent.email, 0x80);
  EXPECT_EQ(rent.linkkey, 2);
  EXPECT_EQ(rent.link, nullptr);
  EXPECT_EQ(rent.treeitem, NodeAt(lists, {0, 0}));
  EXPECT_EQ(CheckStateOf(lists, NodeAt(lists, {0, 0})), kChecked);
  EXPECT_EQ(lists.GetState(NodeAt(lists, {1}), kStateBold), unsigned(kStateBold));
}

TEST_F(ListFileReader, ListsRecordsAreRegisteredOthersNot) {
  ASSERT_EQ(ReadText(lists, CorpusFile("all-fields.xml")), 1);
  EXPECT_EQ(App().tasks.count, 3u);
  std::vector<TaskRecord*> registered;
  for (RegisterEntry* entry = FirstEntry(App().tasks); entry; entry = NextEntry(entry))
    registered.push_back(EntryRecord(entry));
  // Newest first: the last item read leads.
  EXPECT_EQ(registered.front(), RecordOf(lists, NodeAt(lists, {1})));
  ASSERT_EQ(ReadText(active, CorpusFile("all-fields.xml")), 1);
  ASSERT_EQ(ReadText(done, CorpusFile("all-fields.xml")), 1);
  EXPECT_EQ(App().tasks.count, 3u);
}

TEST_F(ListFileReader, ReloadingFreesTheRecordsItReplaces) {
  ASSERT_EQ(ReadText(lists, CorpusFile("all-fields.xml")), 1);
  ASSERT_EQ(ReadText(lists, CorpusFile("buy-milk.xml")), 1);
  // Only the new records are registered: the old ones left with their nodes.
  EXPECT_EQ(App().tasks.count, 2u);
  EXPECT_EQ(lists.Count(), 2u);
}

TEST_F(ListFileReader, LineFeedsAloneReadTheSame) {
  EXPECT_EQ(ReadText(lists, CorpusFile("lf-only.xml")), 1);
  EXPECT_EQ(Shape(lists), "Buy milk");
}

TEST_F(ListFileReader, StateSevenIsBoldCheckedAndExpandedWithChildren) {
  ASSERT_EQ(ReadText(active, ListText({"<item><name>A</name><state>7</state>", "<item><name>B</name></item>",
                                       "</item>", "<item><name>Leaf</name><state>7</state></item>"})),
            1);
  Node a = NodeAt(active, {0});
  EXPECT_EQ(active.GetState(a, kStateBold), unsigned(kStateBold));
  EXPECT_EQ(CheckStateOf(active, a), kChecked);
  EXPECT_TRUE(IsExpanded(active, a));
  // A node without children cannot be expanded, as in the control.
  EXPECT_FALSE(IsExpanded(active, NodeAt(active, {1})));
  EXPECT_EQ(CheckStateOf(active, NodeAt(active, {1})), kChecked);
}

TEST_F(ListFileReader, StateSixteenSetsOnlyAutoActivate) {
  ASSERT_EQ(ReadText(lists, ListText({"<item><name>A</name><state>16</state></item>"})), 1);
  TaskRecord& record = RecordAt(lists, {0});
  EXPECT_EQ(record.autoactivate, 16);
  EXPECT_EQ(record.duedateset + record.autotimeset + record.notify + record.email, 0);
  EXPECT_EQ(CheckStateOf(lists, NodeAt(lists, {0})), kUnchecked);
  EXPECT_EQ(lists.GetState(NodeAt(lists, {0}), kStateBold), 0u);
}

TEST_F(ListFileReader, PriorityAndAlarmAreSkippedContentAndAll) {
  EXPECT_EQ(ReadText(lists, CorpusFile("priority-alarm.xml")), 1);
  EXPECT_EQ(Shape(lists), "Old task");
  EXPECT_EQ(lists.GetState(NodeAt(lists, {0}), kStateBold), unsigned(kStateBold));
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ListFileReader, StrayAndRootTagsInsideAnItemAreIgnored) {
  EXPECT_EQ(
      ReadText(lists, ListText({"<item></enterdate><list version=\"1.0\"><name>A</name></state></item>"})),
      1);
  EXPECT_EQ(Shape(lists), "A");
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ListFileReader, NamesAreCutTo259AndFieldsToTheirWidth) {
  const std::string longName(300, 'n');
  const std::string text = ListText({("<item><name>" + longName +
                                      "</name><enterdate>12-31-2008 23:59:59 extra</enterdate>"
                                      "<autotime>12:345</autotime></item>")
                                         .c_str()});
  ASSERT_EQ(ReadText(lists, text), 1);
  EXPECT_EQ(TaskName(lists, NodeAt(lists, {0})), std::string(259, 'n'));
  EXPECT_STREQ(RecordAt(lists, {0}).enterdate, "12-31-2008 23:59");
  EXPECT_STREQ(RecordAt(lists, {0}).autotime, "12:34");
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ListFileReader, TextEndsAtANul) {
  std::string text = ListText({"<item><name>ab@cd</name></item>"});
  text[text.find('@')] = '\0';
  ASSERT_EQ(ReadText(lists, text), 1);
  EXPECT_EQ(Shape(lists), "ab");
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ListFileReader, LinkKeysAreKeptAsKeys) {
  ASSERT_EQ(ReadText(lists, ListText({"<item><name>A</name><link>-7</link></item>",
                                      "<item><name>B</name><link>99999999999</link></item>"})),
            1);
  EXPECT_EQ(RecordAt(lists, {0}).linkkey, -7);
  EXPECT_EQ(RecordAt(lists, {1}).linkkey, INT32_MAX);
  EXPECT_EQ(RecordAt(lists, {0}).link, nullptr);
}

TEST_F(ListFileReader, FirstLineIsSkippedUpTo127Characters) {
  // A root on the first line is never seen...
  EXPECT_EQ(ReadText(lists, "<?xml?><list version=\"1.0\"></list>\r\n"), 0);
  // ...but a first line longer than 127 characters is read on from there.
  std::string longLine(127, 'x');
  EXPECT_EQ(ReadText(lists, longLine + "<list version=\"1.0\"><item><name>A</name></item></list>"), 1);
  EXPECT_EQ(Shape(lists), "A");
}

TEST_F(ListFileReader, TagsUpTo31Characters) {
  // 31 characters make a tag, if an unknown one: it ends the item.
  const std::string tag31(31, 'q');
  EXPECT_EQ(ReadText(lists, ListText({"<item><name>A</name>", ("<" + tag31 + ">").c_str(),
                                      "<name>B</name></item>"})),
            1);
  EXPECT_EQ(Shape(lists), "A");
  EXPECT_TRUE(prompts.shown().empty());
  // A 32nd character ends the tag before it is looked at.
  EXPECT_EQ(ReadText(lists, ListText({("<" + tag31 + "-->").c_str()})), 0);
  EXPECT_TRUE(prompts.shown().empty());
  EXPECT_EQ(ReadText(lists, ListText({("<" + std::string(30, 'q') + "-->").c_str()})), 0);
  EXPECT_EQ(prompts.Texts(), Texts{"Bad character in XML tag"});
}

TEST_F(ListFileErrors, MissingClosingTagCostsAMessageNotTheValue) {
  const char* elements[] = {"enterdate", "activedate", "completedate", "duedate", "autodate", "autotime"};
  for (size_t i = 0; i < 6; ++i) {
    const char* element = elements[i];
    prompts.Clear();
    const std::string line = std::string("<item><name>A</name><") + element + ">1-2</item>";
    // The </item> is taken as the wrong closing tag and dropped: the item
    // runs to the end of the file.
    EXPECT_EQ(ReadText(lists, ListText({line.c_str()})), 0) << element;
    EXPECT_EQ(prompts.Texts(), Texts{std::string("Missing XML tag: </") + element + ">"}) << element;
    const TaskRecord& record = RecordAt(lists, {0});
    const std::string kept[] = {record.enterdate, record.activedate, record.completedate,
                                record.duedate,   record.autodate,   record.autotime};
    EXPECT_EQ(kept[i], "1-2") << element;
  }
  prompts.Clear();
  ASSERT_EQ(ReadText(lists, ListText({"<item><state>1<name>A</name><link>5<name>B</name></item>"})), 1);
  EXPECT_EQ(prompts.Texts(), (Texts{"Missing XML tag: </state>", "Missing XML tag: </link>"}));
  // The <name> after the open link went with it; "B" was skipped as text.
  EXPECT_EQ(Shape(lists), "A");
  EXPECT_EQ(RecordAt(lists, {0}).linkkey, 5);
  EXPECT_EQ(lists.GetState(NodeAt(lists, {0}), kStateBold), unsigned(kStateBold));
}

TEST_F(ListFileErrors, MisplacedElementsLaterInTheOrderAreTaken) {
  ASSERT_EQ(ReadText(lists, ListText({"<item><name>A</name><enterdate>1-1-2008 1:00<activedate>1-2-2008 2:00"
                                      "</activedate></item>"})),
            1);
  EXPECT_EQ(prompts.Texts(), Texts{"Missing XML tag: </enterdate>"});
  EXPECT_STREQ(RecordAt(lists, {0}).enterdate, "1-1-2008 1:00");
  EXPECT_STREQ(RecordAt(lists, {0}).activedate, "1-2-2008 2:00");
}

TEST_F(ListFileErrors, MisplacedElementsEarlierInTheOrderAreLost) {
  ASSERT_EQ(
      ReadText(lists, ListText({"<item><name>A</name><state>1<enterdate>1-1-2008 1:00</enterdate></item>"})),
      1);
  EXPECT_EQ(prompts.Texts(), Texts{"Missing XML tag: </state>"});
  EXPECT_STREQ(RecordAt(lists, {0}).enterdate, "");
  EXPECT_EQ(lists.GetState(NodeAt(lists, {0}), kStateBold), unsigned(kStateBold));
}

TEST_F(ListFileErrors, OpenNameSwallowsTheEndOfItsItem) {
  EXPECT_EQ(ReadText(lists, CorpusFile("misplaced.xml")), 1);
  EXPECT_EQ(prompts.Texts(), (Texts{"Missing XML tag: </enterdate>", "Missing XML tag: </state>",
                                    "Missing XML tag: </name>"}));
  EXPECT_EQ(Shape(lists), "Dates,Lost date,Open name(Adopted)");
  // The open enterdate ran up to the next tag, line end and all.
  EXPECT_EQ(std::string(RecordAt(lists, {0}).enterdate).substr(0, 13), "1-1-2008 1:00");
  EXPECT_STREQ(RecordAt(lists, {0}).activedate, "1-2-2008 2:00");
  EXPECT_STREQ(RecordAt(lists, {1}).enterdate, "");
}

TEST_F(ListFileErrors, LeftoverTagAfterALinkIsDropped) {
  ASSERT_EQ(ReadText(lists, ListText({"<item><name>A</name><link>3<item><name>B</name></item>"})), 1);
  EXPECT_EQ(prompts.Texts(), Texts{"Missing XML tag: </link>"});
  // The <item> went with the missing </link>: B renamed A.
  EXPECT_EQ(Shape(lists), "B");
}

TEST_F(ListFileErrors, UnknownTagEndsTheItemItStandsIn) {
  EXPECT_EQ(ReadText(lists, CorpusFile("unknown-tag.xml")), 1);
  EXPECT_TRUE(prompts.shown().empty());
  // After <note> the child's state went to the parent, and the child's
  // </item> closed the parent: the second child became a top-level item.
  EXPECT_EQ(Shape(lists), "Parent(Child),Second child");
  EXPECT_EQ(lists.GetState(NodeAt(lists, {0}), kStateBold), unsigned(kStateBold));
  EXPECT_EQ(lists.GetState(NodeAt(lists, {0, 0}), kStateBold), 0u);
}

TEST_F(ListFileErrors, UnknownTagAtTheTopLevelStopsTheFile) {
  EXPECT_EQ(
      ReadText(lists, ListText({"<item><name>A</name></item>", "<note>", "<item><name>B</name></item>"})), 0);
  EXPECT_EQ(Shape(lists), "A");
  EXPECT_EQ(
      ReadText(lists, ListText({"<item><name>A</name></item>", "<EOF>", "<item><name>B</name></item>"})), 0);
  EXPECT_EQ(Shape(lists), "A");
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ListFileErrors, BadCharacterInATag) {
  EXPECT_EQ(ReadText(lists, CorpusFile("bad-character.xml")), 0);
  EXPECT_EQ(prompts.Texts(), Texts{"Bad character in XML tag"});
  EXPECT_EQ(Shape(lists), "Before");

  prompts.Clear();
  // Inside an item the bad tag only ends the item.
  EXPECT_EQ(ReadText(lists, ListText({"<item><name>A</name><auto:time>", "<state>1</state></item>"})), 1);
  EXPECT_EQ(prompts.Texts(), Texts{"Bad character in XML tag"});
  EXPECT_EQ(lists.GetState(NodeAt(lists, {0}), kStateBold), 0u);
}

TEST_F(ListFileErrors, NulInATagEndsItWithoutAMessage) {
  std::string text = ListText({"<item><name>A</name><st@te>1</state></item>", "<item><name>B</name></item>"});
  text[text.find('@')] = '\0';
  EXPECT_EQ(ReadText(lists, text), 1);
  EXPECT_TRUE(prompts.shown().empty());
  EXPECT_EQ(Shape(lists), "A,B");
}

TEST_F(ListFileErrors, EndOfFileEndsEveryOpenItem) {
  EXPECT_EQ(ReadText(lists, CorpusFile("truncated.xml")), 0);
  EXPECT_EQ(prompts.Texts(), Texts{"Bad character in XML tag"});  // the end came inside a tag
  EXPECT_EQ(Shape(lists), "Kept,Half");

  prompts.Clear();
  const std::string text = ListText({"<item><name>A</name><item><name>B</name><item><name>C</name>"});
  EXPECT_EQ(ReadText(lists, text.substr(0, text.find("</list>"))), 0);
  EXPECT_EQ(Shape(lists), "A(B(C))");
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ListFileErrors, RootMustBeExact) {
  EXPECT_EQ(ReadText(lists, CorpusFile("bad-root.xml")), 0);
  EXPECT_EQ(lists.Count(), 0u);
  EXPECT_EQ(ReadText(lists, ""), 0);
  EXPECT_EQ(ParseListFile(lists, nullptr, 0), 0);
  EXPECT_EQ(ReadText(lists, "<?xml?>\r\n<list version=\"1.1\"></list>"), 0);
  EXPECT_EQ(ReadText(lists, "<?xml?>\r\n<List version=\"1.0\"></list>"), 0);
}

TEST_F(ListFileErrors, DeepNestingDoesNotExhaustTheStack) {
  std::string text = ListText({});
  std::string items;
  for (int i = 0; i < 50000; ++i) items += "<item>";
  text.insert(text.find("</list>"), items);
  EXPECT_EQ(ReadText(done, text), 0);
  EXPECT_EQ(done.Count(), 50000u);
}

}  // namespace

namespace {

// Elements that come after an item's children still reach the item, and
// an item keeps its place among its siblings whenever it is put in.
TEST_F(ListFileReader, ElementsAfterTheChildrenStillCount) {
  const std::string file =
      "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\r\n\r\n<list version=\"1.0\">\r\n"
      "<item>\r\n\t<item>\r\n\t\t<name>child</name>\r\n\t</item>\r\n"
      "\t<name>late parent</name>\r\n\t<state>5</state>\r\n</item>\r\n"
      "<item>\r\n\t<name>second</name>\r\n</item>\r\n"
      "<item>\r\n\t<name>third</name>\r\n\t<state>3</state>\r\n\t<item>\r\n\t\t<name>inner</name>\r\n\t</"
      "item>\r\n"
      "\t<name>third renamed</name>\r\n</item>\r\n</list>\r\n";
  EXPECT_EQ(ReadText(lists, file), 1);
  EXPECT_EQ(Shape(lists), "late parent(child),second,third renamed(inner)");
  Node late = NodeAt(lists, {0});
  EXPECT_EQ(CheckStateOf(lists, late), kChecked);
  EXPECT_EQ(lists.GetState(late, kStateBold), unsigned(kStateBold));
  Node third = NodeAt(lists, {2});
  EXPECT_EQ(lists.GetState(third, kStateBold), unsigned(kStateBold));
  EXPECT_TRUE(IsExpanded(lists, third));
  EXPECT_EQ(CheckStateOf(lists, third), kUnchecked);
  EXPECT_EQ(RecordAt(lists, {2, 0}).treeitem, NodeAt(lists, {2, 0}));
  EXPECT_TRUE(prompts.shown().empty());
}

}  // namespace
