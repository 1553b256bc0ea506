#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/taskrecord.h"
#include "fixture.h"

namespace {

std::vector<TaskRecord*> Walk(const TaskRegister& reg) {
  std::vector<TaskRecord*> records;
  for (RegisterEntry* entry = FirstEntry(reg); entry; entry = NextEntry(entry))
    records.push_back(EntryRecord(entry));
  return records;
}

// Walks back from the last entry, to check the previous links.
std::vector<TaskRecord*> WalkBack(const TaskRegister& reg) {
  RegisterEntry* last = FirstEntry(reg);
  while (last && NextEntry(last)) last = NextEntry(last);
  std::vector<TaskRecord*> records;
  for (RegisterEntry* entry = last; entry; entry = entry->previous)
    records.insert(records.begin(), entry->record);
  return records;
}

struct Records : AppFixture {
  TaskRegister reg{};
  TaskRecord* r1 = NewTaskRecord();
  TaskRecord* r2 = NewTaskRecord();
  TaskRecord* r3 = NewTaskRecord();

  void TearDown() override {
    ClearRegister(reg);
    for (TaskRecord* record : {r1, r2, r3}) FreeTaskRecord(record);
    AppFixture::TearDown();
  }
};

TEST_F(Records, NewRecordIsZeroFilledButForItsSerial) {
  TaskRecord zero;
  std::memset(&zero, 0, sizeof zero);
  ASSERT_NE(r1, nullptr);
  zero.serial = r1->serial;
  EXPECT_EQ(std::memcmp(r1, &zero, sizeof zero), 0);
  // Each record made gets a number of its own.
  EXPECT_NE(r1->serial, 0u);
  EXPECT_LT(r1->serial, r2->serial);
  EXPECT_EQ(r1->entry, nullptr);
  EXPECT_EQ(r1->link, nullptr);
}

TEST_F(Records, NewestFirst) {
  RegisterTask(reg, r1);
  RegisterTask(reg, r2);
  RegisterTask(reg, r3);
  EXPECT_EQ(Walk(reg), (std::vector<TaskRecord*>{r3, r2, r1}));
  EXPECT_EQ(WalkBack(reg), Walk(reg));
  EXPECT_EQ(reg.count, 3u);
}

TEST_F(Records, UnlinkMiddleAndHead) {
  RegisterTask(reg, r1);
  RegisterTask(reg, r2);
  RegisterTask(reg, r3);
  UnlinkEntry(reg, r2->entry);
  EXPECT_EQ(Walk(reg), (std::vector<TaskRecord*>{r3, r1}));
  EXPECT_EQ(WalkBack(reg), Walk(reg));
  EXPECT_EQ(r2->entry, nullptr);

  UnlinkEntry(reg, FirstEntry(reg));
  EXPECT_EQ(EntryRecord(FirstEntry(reg)), r1);
  EXPECT_EQ(FirstEntry(reg)->previous, nullptr);
  EXPECT_EQ(Walk(reg), (std::vector<TaskRecord*>{r1}));
  EXPECT_EQ(reg.count, 1u);

  UnregisterTask(reg, r1);
  EXPECT_EQ(FirstEntry(reg), nullptr);
  EXPECT_EQ(reg.count, 0u);
  EXPECT_EQ(NextEntry(nullptr), nullptr);
  EXPECT_EQ(EntryRecord(nullptr), nullptr);
}

TEST_F(Records, NullAndRepeatedRegistrationsAreIgnored) {
  RegisterTask(reg, nullptr);
  EXPECT_EQ(FirstEntry(reg), nullptr);
  RegisterTask(reg, r1);
  RegisterTask(reg, r1);
  EXPECT_EQ(Walk(reg), (std::vector<TaskRecord*>{r1}));
  EXPECT_EQ(reg.count, 1u);
  UnregisterTask(reg, r2);  // never registered
  UnregisterTask(reg, nullptr);
  EXPECT_EQ(reg.count, 1u);
}

TEST_F(Records, ClearedRecordsCanBeRegisteredAgain) {
  RegisterTask(reg, r1);
  RegisterTask(reg, r2);
  ClearRegister(reg);
  EXPECT_EQ(FirstEntry(reg), nullptr);
  EXPECT_EQ(reg.count, 0u);
  EXPECT_EQ(r1->entry, nullptr);
  RegisterTask(reg, r2);
  EXPECT_EQ(Walk(reg), (std::vector<TaskRecord*>{r2}));
}

TEST_F(Records, FreeingARecordTakesItOutOfTheApplicationRegister) {
  TaskRegister& tasks = App().tasks;
  TaskRecord* a = NewTaskRecord();
  TaskRecord* b = NewTaskRecord();
  TaskRecord* c = NewTaskRecord();
  RegisterTask(tasks, a);
  RegisterTask(tasks, b);
  RegisterTask(tasks, c);
  FreeTaskRecord(b);  // no walk: the record knows its entry
  EXPECT_EQ(Walk(tasks), (std::vector<TaskRecord*>{c, a}));
  EXPECT_EQ(WalkBack(tasks), Walk(tasks));
  FreeTaskRecord(c);
  EXPECT_EQ(Walk(tasks), (std::vector<TaskRecord*>{a}));
  FreeTaskRecord(a);
  EXPECT_EQ(FirstEntry(tasks), nullptr);
  EXPECT_EQ(tasks.count, 0u);
  FreeTaskRecord(nullptr);
}

TEST_F(Records, BoundedCopiesAlwaysTerminate) {
  char field[6];
  std::memset(field, 'x', sizeof field);
  CopyField(field, "12:345678");
  EXPECT_STREQ(field, "12:34");
  CopyField(field, "7:30");
  EXPECT_STREQ(field, "7:30");
  CopyField(field, nullptr);
  EXPECT_STREQ(field, "7:30");
  CopyBounded(nullptr, "abc", 4);
  CopyBounded(field, "abc", 0);
  EXPECT_STREQ(field, "7:30");
  CopyBounded(field, "abc", 1);
  EXPECT_STREQ(field, "");
}

}  // namespace
