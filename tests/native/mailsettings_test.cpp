// The password scrambler, the mail settings in the settings store, and the
// mappings of the Settings and Properties dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "alerts/mailsettings.h"
#include "alerts/properties.h"
#include "alerts/scrambler.h"
#include "base/boundedtext.h"
#include "base/settingsstore.h"
#include "data/datetext.h"
#include "fixture.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

std::string Scrambled(std::string bytes, const char* user) {
  EXPECT_NE(ScramblePassword(&bytes[0], bytes.size(), user), nullptr);
  return bytes;
}

TEST(Scrambler, EachByteMeetsTheReversedUsernameAndTheKeyForTheFirst24) {
  // With username "abc" the pad is "cbacbacb..."; the key covers bytes 0-23.
  const std::string password("password", 8);
  const std::string scrambled = Scrambled(password, "abc");
  const char pad[] = "cbacbacb";
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(scrambled[i], password[i] ^ pad[i] ^ kScrambleKey[i]) << i;
  // From the 25th byte on, the pad alone.
  const std::string longer(30, 'x');
  const std::string scrambledLonger = Scrambled(longer, "ab");
  for (size_t i = 24; i < 30; ++i) EXPECT_EQ(scrambledLonger[i], 'x' ^ (i % 2 ? 'a' : 'b')) << i;
  EXPECT_EQ(std::strlen(kScrambleKey), 24u);
}

TEST(Scrambler, TwiceWithTheSameUsernameGivesThePasswordBackAndNothingElseDoes) {
  const std::string password("hunter2", 8);  // with its terminator
  const std::string scrambled = Scrambled(password, "anna");
  EXPECT_NE(scrambled, password);
  EXPECT_EQ(Scrambled(scrambled, "anna"), password);
  EXPECT_NE(Scrambled(scrambled, "bert"), password);
  char bytes[] = "abc";
  EXPECT_EQ(ScramblePassword(bytes, 3, ""), nullptr);
  EXPECT_EQ(ScramblePassword(bytes, 3, nullptr), nullptr);
  EXPECT_EQ(ScramblePassword(bytes, 0, "anna"), nullptr);
  EXPECT_STREQ(bytes, "abc");
}

struct MailSettingsStore : ::testing::Test {
  MemorySettingsStore store;
  void SetUp() override { ResetAppState(); }
  void TearDown() override { ResetAppState(); }
};

TEST_F(MailSettingsStore, ThePasswordIsStoredScrambledWithItsZeroAndReadBackInTheClear) {
  MailSettings mail{"smtp.example.com", "2525", "anna", "pass5", "anna@example.com"};
  WriteMailSettings(store, mail);
  const MemorySettingsStore::Value* password = store.Find(kProductKey, "Password");
  ASSERT_NE(password, nullptr);
  EXPECT_EQ(password->type, kValueBytes);
  EXPECT_EQ(password->data, Scrambled(std::string("pass5", 6), "anna"));
  EXPECT_EQ(store.Find(kProductKey, "Port")->data, std::string("2525", 5));
  const MailSettings read = ReadMailSettings(store);
  EXPECT_EQ(read.server, "smtp.example.com");
  EXPECT_EQ(read.port, "2525");
  EXPECT_EQ(read.username, "anna");
  EXPECT_EQ(read.password, "pass5");
  EXPECT_EQ(read.sendTo, "anna@example.com");
}

TEST_F(MailSettingsStore, AnEmptyUsernameLeavesTheStoredPasswordAndShowsNone) {
  WriteMailSettings(store, MailSettings{"s", "", "anna", "old", "a@b.c"});
  const std::string before = store.Find(kProductKey, "Password")->data;
  WriteMailSettings(store, MailSettings{"s", "", "", "new", "a@b.c"});
  EXPECT_EQ(store.Find(kProductKey, "Password")->data, before);
  EXPECT_EQ(ReadMailSettings(store).password, "");
}

TEST_F(MailSettingsStore, APortIsOneTo65535AndEmptyMeans25) {
  const struct {
    const char* text;
    uint16_t port;
  } cases[] = {{"", 25},       {"  ", 25},         {"25", 25},       {"587", 587},
               {"2525", 2525}, {"65535", 65535},   {" 1025 ", 1025}, {"0", 0},
               {"65536", 0},   {"99999999999", 0}, {"25a", 0},       {"-25", 0}};
  for (const auto& c : cases) EXPECT_EQ(MailPort(c.text), c.port) << '"' << c.text << '"';
}

TEST_F(MailSettingsStore, OkChangesTheLogonEntryOnlyWhenTheBoxChanged) {
  store.CreateKey(kStartupKey);
  SettingsForm form = ReadSettingsForm(store);
  EXPECT_FALSE(form.runAtStartup);
  form.runAtStartup = true;
  StoreSettingsForm(store, form, "C:\\Apps\\velkin.exe");
  EXPECT_EQ(App().autorun, 1);
  ASSERT_NE(store.Find(kStartupKey, "Velkin 1.0"), nullptr);
  // Removed by hand: a second OK without a change does not put it back.
  store.DeleteValue(kStartupKey, "Velkin 1.0");
  StoreSettingsForm(store, ReadSettingsForm(store), "C:\\Apps\\velkin.exe");
  EXPECT_EQ(store.Find(kStartupKey, "Velkin 1.0"), nullptr);
  form.runAtStartup = false;
  store.AddStartupEntry("C:\\Apps\\velkin.exe");
  StoreSettingsForm(store, form, "C:\\Apps\\velkin.exe");
  EXPECT_EQ(store.Find(kStartupKey, "Velkin 1.0"), nullptr);
  EXPECT_EQ(App().autorun, 0);
}

TEST_F(MailSettingsStore, TheScrollBarBoxesAreTheOptionsTurnedAround) {
  App().vscroll = 1;
  App().hscroll = 0;
  SettingsForm form = ReadSettingsForm(store);
  EXPECT_TRUE(form.hideHorizontal);
  EXPECT_FALSE(form.hideVertical);
  form.hideHorizontal = false;
  form.hideVertical = true;
  StoreSettingsForm(store, form, "");
  EXPECT_EQ(App().hscroll, 1);
  EXPECT_EQ(App().vscroll, 0);
}

struct Properties : AppFixture {
  TaskRecord* Record(Node node) { return RecordOf(lists, node); }
};

TEST_F(Properties, ANewTaskShowsItsEntryTodayTheTimeNowAndStartup) {
  Node node = InsertTask(lists, kRootNode, kLastNode, "Buy milk");
  const PropertiesForm form = PropertiesFormOf(*Record(node), kFixtureNow);
  EXPECT_EQ(form.entered, "3-7-2008 9:05");
  EXPECT_EQ(form.activated, "Inactive");
  EXPECT_EQ(form.completed, "Incomplete");
  EXPECT_FALSE(form.dueDateSet || form.autoActivate || form.atTime || form.notify || form.email);
  EXPECT_EQ(CompareDateTime(form.dueDate, kFixtureNow), 0);
  EXPECT_EQ(CompareDateTime(form.autoDate, kFixtureNow), 0);
  EXPECT_EQ(CompareDateTime(form.autoTime, kFixtureNow), 0);
  EXPECT_FALSE(form.dueDateFromRecord || form.autoDateFromRecord || form.autoTimeFromRecord);

  // OK untouched: today's date twice, the time now, all five flags 0.
  StorePropertiesForm(form, *Record(node));
  EXPECT_STREQ(Record(node)->duedate, "3-7-2008");
  EXPECT_STREQ(Record(node)->autodate, "3-7-2008");
  EXPECT_STREQ(Record(node)->autotime, "9:05");
  EXPECT_EQ(Record(node)->duedateset + Record(node)->autoactivate + Record(node)->autotimeset +
                Record(node)->notify + Record(node)->email,
            0);
}

TEST_F(Properties, WhatARecordHoldsComesBackThroughTheControls) {
  Node node = InsertTask(lists, kRootNode, kLastNode, "Pay rent");
  TaskRecord& record = *Record(node);
  CopyField(record.activedate, "3-6-2008 8:00");
  CopyField(record.duedate, "4-1-2008");
  CopyField(record.autodate, "3-31-2008");
  CopyField(record.autotime, "17:45");
  // Flags from a list file keep their bit values.
  record.duedateset = 0x08;
  record.autoactivate = 0x10;
  record.autotimeset = 0x20;
  record.notify = 0x40;
  record.email = 0x80;
  PropertiesForm form = PropertiesFormOf(record, kFixtureNow);
  EXPECT_EQ(form.activated, "3-6-2008 8:00");
  EXPECT_TRUE(form.dueDateSet && form.autoActivate && form.atTime && form.notify && form.email);
  EXPECT_TRUE(form.dueDateFromRecord && form.autoDateFromRecord && form.autoTimeFromRecord);
  EXPECT_EQ(form.dueDate.month, 4);
  EXPECT_EQ(form.dueDate.day, 1);
  EXPECT_EQ(form.dueDate.hour, 0);
  EXPECT_EQ(form.autoTime.hour, 17);
  EXPECT_EQ(form.autoTime.minute, 45);
  form.email = false;
  StorePropertiesForm(form, record);
  EXPECT_STREQ(record.duedate, "4-1-2008");
  EXPECT_STREQ(record.autodate, "3-31-2008");
  EXPECT_STREQ(record.autotime, "17:45");
  EXPECT_EQ(record.autoactivate, 1);
  EXPECT_EQ(record.email, 0);
}

TEST_F(Properties, TheHeldRecordIsLetGoWhenItsTaskIsDeleted) {
  Node kept = InsertTask(lists, kRootNode, kLastNode, "Kept");
  Node node = InsertTask(lists, kRootNode, kLastNode, "Deleted");
  HoldPropertiesRecord(Record(node));
  RemoveSubtree(lists, kept, true);
  EXPECT_EQ(HeldPropertiesRecord(), Record(node)) << "another task's deletion changes nothing";
  RemoveSubtree(lists, node, true);
  EXPECT_EQ(HeldPropertiesRecord(), nullptr);
}

}  // namespace
