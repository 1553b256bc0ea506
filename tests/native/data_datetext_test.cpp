#include <gtest/gtest.h>

#include <climits>

#include "data/datetext.h"
#include "fixture.h"

namespace {

DateTime At(int year, int month, int day, int hour, int minute, int second = 0, int ms = 0) {
  DateTime value{};
  value.year = static_cast<uint16_t>(year);
  value.month = static_cast<uint16_t>(month);
  value.day = static_cast<uint16_t>(day);
  value.hour = static_cast<uint16_t>(hour);
  value.minute = static_cast<uint16_t>(minute);
  value.second = static_cast<uint16_t>(second);
  value.milliseconds = static_cast<uint16_t>(ms);
  return value;
}

using DateText = AppFixture;

TEST_F(DateText, FormatsWithoutLeadingZerosButWithATwoDigitMinute) {
  const DateTime morning = At(2008, 3, 7, 9, 5);
  EXPECT_EQ(FormatStamp(morning), "3-7-2008 9:05");
  EXPECT_EQ(FormatDate(morning), "3-7-2008");
  EXPECT_EQ(FormatTime(morning), "9:05");

  const std::string longest = FormatStamp(At(2008, 12, 31, 23, 59));
  EXPECT_EQ(longest, "12-31-2008 23:59");
  EXPECT_LT(longest.size(), sizeof(TaskRecord{}.enterdate));

  EXPECT_EQ(FormatTime(At(2008, 1, 1, 0, 0)), "0:00");
  EXPECT_EQ(FormatTime(At(2008, 1, 1, 0, 5)), "0:05");
  EXPECT_EQ(FormatTime(At(2008, 1, 1, 12, 30)), "12:30");
}

TEST_F(DateText, StampNowReadsTheApplicationClock) {
  EXPECT_EQ(StampNow(), "3-7-2008 9:05");
  clock.Set(At(2009, 11, 30, 17, 45, 12));
  EXPECT_EQ(StampNow(), "11-30-2009 17:45");
}

TEST_F(DateText, StampNowFallsBackToTheSystemClock) {
  App().clock = nullptr;
  const std::string stamp = StampNow();
  DateTime parsed{};
  ParseDate(parsed, stamp.c_str());
  EXPECT_GE(parsed.year, 2000);
  EXPECT_GE(parsed.month, 1);
  EXPECT_LE(parsed.month, 12);
}

TEST_F(DateText, ParseDateSetsOnlyTheDate) {
  DateTime value = At(1999, 1, 1, 17, 42, 30, 500);
  ParseDate(value, "3-7-2008 9:05");
  EXPECT_EQ(value.year, 2008);
  EXPECT_EQ(value.month, 3);
  EXPECT_EQ(value.day, 7);
  EXPECT_EQ(value.hour, 17);
  EXPECT_EQ(value.minute, 42);
  EXPECT_EQ(value.second, 30);
  EXPECT_EQ(value.milliseconds, 500);

  ParseDate(value, "12-31-2009 23:59");
  EXPECT_EQ(value.year, 2009);
  EXPECT_EQ(value.month, 12);
  EXPECT_EQ(value.day, 31);
}

TEST_F(DateText, ParseDateStopsWhereTheTextRunsOut) {
  DateTime value = At(1999, 1, 2, 3, 4);
  ParseDate(value, "3-7");
  EXPECT_EQ(value.month, 3);
  EXPECT_EQ(value.day, 2);
  EXPECT_EQ(value.year, 1999);

  value = At(1999, 1, 2, 3, 4);
  ParseDate(value, "");
  ParseDate(value, "2008");
  ParseDate(value, nullptr);
  EXPECT_EQ(value.year, 1999);
  EXPECT_EQ(value.month, 1);
  EXPECT_EQ(value.day, 2);

  // Only the first 11 characters count: the second "-" lies beyond them.
  value = At(1999, 1, 2, 3, 4);
  ParseDate(value, "3-7         -2008");
  EXPECT_EQ(value.month, 3);
  EXPECT_EQ(value.day, 2);
}

TEST_F(DateText, ParseTimeIsTodayAtThatTime) {
  clock.Set(At(2008, 3, 7, 9, 5, 42, 123));
  DateTime value{};
  ParseTime(value, "14:30");
  EXPECT_EQ(value.year, 2008);
  EXPECT_EQ(value.month, 3);
  EXPECT_EQ(value.day, 7);
  EXPECT_EQ(value.hour, 14);
  EXPECT_EQ(value.minute, 30);
  EXPECT_EQ(value.second, 0);
  EXPECT_EQ(value.milliseconds, 0);

  ParseTime(value, "1430");
  EXPECT_EQ(value.hour, 9);
  EXPECT_EQ(value.minute, 5);
  EXPECT_EQ(value.second, 42);
  EXPECT_EQ(value.milliseconds, 123);

  ParseTime(value, "7:5");
  EXPECT_EQ(value.hour, 7);
  EXPECT_EQ(value.minute, 5);
}

TEST_F(DateText, ClearTimeKeepsTheDate) {
  DateTime value = At(2008, 3, 7, 9, 5, 42, 123);
  ClearTime(value);
  EXPECT_EQ(value.hour, 0);
  EXPECT_EQ(value.minute, 0);
  EXPECT_EQ(value.second, 0);
  EXPECT_EQ(value.milliseconds, 0);
  EXPECT_EQ(FormatDate(value), "3-7-2008");
}

TEST_F(DateText, CompareCountsMinutesNotSeconds) {
  EXPECT_EQ(CompareDateTime(At(2008, 3, 7, 9, 5, 59), At(2008, 3, 7, 9, 5, 0)), 0);
  EXPECT_EQ(CompareDateTime(At(2008, 12, 31, 23, 59), At(2009, 1, 1, 0, 0)), -1);
  EXPECT_EQ(CompareDateTime(At(2009, 1, 1, 0, 0), At(2008, 12, 31, 23, 59)), 1);
  // Each field decides when those before it are equal.
  EXPECT_EQ(CompareDateTime(At(2008, 2, 28, 0, 0), At(2008, 3, 1, 0, 0)), -1);
  EXPECT_EQ(CompareDateTime(At(2008, 3, 2, 0, 0), At(2008, 3, 1, 23, 59)), 1);
  EXPECT_EQ(CompareDateTime(At(2008, 3, 1, 10, 0), At(2008, 3, 1, 9, 59)), 1);
  EXPECT_EQ(CompareDateTime(At(2008, 3, 1, 9, 58), At(2008, 3, 1, 9, 59)), -1);
  DateTime monday = At(2008, 3, 3, 9, 0);
  DateTime otherDay = monday;
  otherDay.dayOfWeek = 4;
  EXPECT_EQ(CompareDateTime(monday, otherDay), 0);
}

TEST_F(DateText, LeadingNumberReadsLikeAtoi) {
  EXPECT_EQ(LeadingNumber("42abc"), 42);
  EXPECT_EQ(LeadingNumber(" \t\r\n 7"), 7);
  EXPECT_EQ(LeadingNumber("-17:30"), -17);
  EXPECT_EQ(LeadingNumber("+5"), 5);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("- 5"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber(nullptr), 0);
  EXPECT_EQ(LeadingNumber("007"), 7);
}

TEST_F(DateText, LeadingNumberSaturatesAtThe32BitLimits) {
  EXPECT_EQ(LeadingNumber("2147483647"), INT32_MAX);
  EXPECT_EQ(LeadingNumber("2147483648"), INT32_MAX);
  EXPECT_EQ(LeadingNumber("-2147483648"), INT32_MIN);
  EXPECT_EQ(LeadingNumber("-2147483649"), INT32_MIN);
  EXPECT_EQ(LeadingNumber("99999999999999999999999999999999"), INT32_MAX);
  EXPECT_EQ(LeadingNumber("-99999999999999999999999999999999"), INT32_MIN);
}

}  // namespace
