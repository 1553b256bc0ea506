// The password scrambler, the mail settings in the settings store, and the
// mappings of the Settings and Properties dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "alerts/mailsettings.h"
#include "alerts/properties.h"
#include "alerts/scrambler.h"
#include "app/calendar.h"
#include "base/settingsstore.h"
#include "data/datetext.h"
#include "fakes/memorysettings.h"
#include "fixture.h"
#include "tree/commands.h"
#include "tree/tasktree.h"

namespace {

std::string Scrambled(std::string bytes, const char* user) {
  EXPECT_NE(ScramblePassword(&bytes[0], bytes.size(), user), nullptr);
  return bytes;
}

TEST(Scrambler, ThePadIsTheReversedUsernameAndTheKeyCoversTheFirst24Bytes) {
  const std::string password(30, 'x');
  const std::string scrambled = Scrambled(password, "abc");
  for (size_t i = 0; i < password.size(); ++i)
    EXPECT_EQ(scrambled[i], 'x' ^ "cba"[i % 3] ^ (i < 24 ? kScrambleKey[i] : 0)) << i;
  EXPECT_EQ(Scrambled(scrambled, "abc"), password);
  EXPECT_NE(Scrambled(scrambled, "abd"), password);
  char bytes[] = "abc";
  EXPECT_EQ(ScramblePassword(bytes, 3, ""), nullptr);
  EXPECT_EQ(ScramblePassword(bytes, 0, "anna"), nullptr);
  EXPECT_STREQ(bytes, "abc");
}

struct MailSettingsStore : AppFixture {
  MemorySettingsStore store;
};

TEST_F(MailSettingsStore, ThePasswordIsStoredScrambledWithItsZeroAndAnEmptyUsernameLeavesIt) {
  WriteMailSettings(store, MailSettings{"smtp.example.com", "2525", "anna", "pass5", "anna@example.com"});
  const MemorySettingsStore::Value* password = store.Find(kProductKey, "Password");
  ASSERT_NE(password, nullptr);
  EXPECT_EQ(password->type, kValueBytes);
  EXPECT_EQ(password->data, Scrambled(std::string("pass5\0", 7), "anna"));
  const MailSettings read = ReadMailSettings(store);
  EXPECT_EQ(read.server + "|" + read.port + "|" + read.username + "|" + read.password + "|" + read.sendTo,
            "smtp.example.com|2525|anna|pass5|anna@example.com");

  WriteMailSettings(store, MailSettings{"s", "", "", "new", "a@b.c"});
  EXPECT_EQ(store.Find(kProductKey, "Password")->data, Scrambled(std::string("pass5\0", 7), "anna"));
  EXPECT_EQ(ReadMailSettings(store).password, "") << "no username, no password";
}

TEST_F(MailSettingsStore, APortIsOneTo65535AndEmptyMeans25) {
  const struct {
    const char* text;
    uint16_t port;
  } cases[] = {{"", 25}, {"25", 25},   {"2525", 2525},     {"65535", 65535}, {" 1025 ", 1025},
               {"0", 0}, {"65536", 0}, {"99999999999", 0}, {"25a", 0},       {"-25", 0}};
  for (const auto& c : cases) EXPECT_EQ(MailPort(c.text), c.port) << '"' << c.text << '"';
  // An edited registry's long text is no port either: not read as absent (25).
  store.WriteText("Port", "the port of the mail server");
  EXPECT_EQ(MailPort(ReadMailSettings(store).port), 0);
}

TEST_F(MailSettingsStore, OkChangesTheLogonEntryOnlyWhenTheBoxChanged) {
  store.CreateKey(kStartupKey);
  SettingsForm form = ReadSettingsForm(store);
  form.runAtStartup = true;
  StoreSettingsForm(store, form, "C:\\Apps\\velkin.exe");
  EXPECT_EQ(App().autorun, 1);
  ASSERT_NE(store.Find(kStartupKey, "Velkin 1.0"), nullptr);
  store.DeleteValue(kStartupKey, "Velkin 1.0");  // by hand: OK without a change leaves it gone
  StoreSettingsForm(store, ReadSettingsForm(store), "C:\\Apps\\velkin.exe");
  EXPECT_EQ(store.Find(kStartupKey, "Velkin 1.0"), nullptr);
}

using Properties = AppFixture;

TEST_F(Properties, AnUneditedTaskShowsNowAndOkStoresTodayAndNoFlags) {
  TaskRecord& record = *RecordOf(lists, InsertTask(lists, kRootNode, kLastNode, "Buy milk"));
  const PropertiesForm form = PropertiesFormOf(record, kFixtureNow);
  EXPECT_EQ(form.entered + "|" + form.activated + "|" + form.completed, "3-7-2008 9:05|Inactive|Incomplete");
  EXPECT_FALSE(form.dueDateSet || form.autoActivate || form.atTime || form.notify || form.email);
  for (const DateTime& shown : {form.dueDate, form.autoDate, form.autoTime})
    EXPECT_EQ(CompareDateTime(shown, kFixtureNow), 0);
  StorePropertiesForm(form, record);
  EXPECT_EQ(std::string(record.duedate) + "|" + record.autodate + "|" + record.autotime,
            "3-7-2008|3-7-2008|9:05");
  EXPECT_EQ(record.duedateset + record.autoactivate + record.autotimeset + record.notify + record.email, 0);
}

TEST_F(Properties, FlagsOfAListFileShowAsSetAndDatesAsStored) {
  TaskRecord& record = *RecordOf(lists, InsertTask(lists, kRootNode, kLastNode, "Pay rent"));
  CopyField(record.autodate, "3-31-2008");
  CopyField(record.autotime, "17:45");
  record.autoactivate = 0x10;
  record.autotimeset = 0x20;
  const PropertiesForm form = PropertiesFormOf(record, kFixtureNow);
  EXPECT_TRUE(form.autoActivate && form.atTime && form.autoDateFromRecord && form.autoTimeFromRecord);
  EXPECT_EQ(FormatStamp(form.autoDate) + "|" + FormatTime(form.autoTime), "3-31-2008 0:00|17:45");
}

TEST_F(Properties, ADueDateSetHereMakesItsDayBoldInTheCalendar) {
  TaskRecord& record = *RecordOf(lists, InsertTask(lists, kRootNode, kLastNode, "Pay rent"));
  PropertiesForm form = PropertiesFormOf(record, kFixtureNow);
  form.dueDateSet = true;
  form.dueDate.day = 15;
  StorePropertiesForm(form, record);
  uint32_t march = 0;
  ASSERT_TRUE(ComputeDayStates(App().tasks, 2008, 3, 1, &march));
  EXPECT_EQ(march, 1u << 14);
}

TEST_F(Properties, TheHeldRecordIsLetGoWhenItsTaskIsDeleted) {
  Node kept = InsertTask(lists, kRootNode, kLastNode, "Kept");
  Node node = InsertTask(lists, kRootNode, kLastNode, "Deleted");
  HoldPropertiesRecord(RecordOf(lists, node));
  RemoveSubtree(lists, kept, true);
  EXPECT_EQ(HeldPropertiesRecord(), RecordOf(lists, node));
  RemoveSubtree(lists, node, true);
  EXPECT_EQ(HeldPropertiesRecord(), nullptr);
}

}  // namespace
