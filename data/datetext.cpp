#include "data/datetext.h"

#include <cstdint>
#include <cstring>

#include "base/appstate.h"
#include "base/clock.h"

namespace {

DateTime CurrentTime() {
  Clock* clock = App().clock ? App().clock : SystemClock();
  return clock->Now();
}

void AppendNumber(std::string& out, unsigned value) {
  char digits[12];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value);
  while (n) out.push_back(digits[--n]);
}

void AppendDate(std::string& out, const DateTime& value) {
  AppendNumber(out, value.month);
  out.push_back('-');
  AppendNumber(out, value.day);
  out.push_back('-');
  AppendNumber(out, value.year);
}

void AppendTime(std::string& out, const DateTime& value) {
  AppendNumber(out, value.hour);
  out.push_back(':');
  if (value.minute < 10) out.push_back('0');
  AppendNumber(out, value.minute);
}

bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string StampNow() {
  return FormatStamp(CurrentTime());
}

std::string FormatStamp(const DateTime& value) {
  std::string out;
  AppendDate(out, value);
  out.push_back(' ');
  AppendTime(out, value);
  return out;
}

std::string FormatDate(const DateTime& value) {
  std::string out;
  AppendDate(out, value);
  return out;
}

std::string FormatTime(const DateTime& value) {
  std::string out;
  AppendTime(out, value);
  return out;
}

void ParseDate(DateTime& value, const char* text) {
  if (!text) return;
  // Only the date part of a stamp counts; the time after it never does.
  char buffer[12];
  CopyField(buffer, text);
  char* first = std::strchr(buffer, '-');
  if (!first) return;
  *first = '\0';
  value.month = static_cast<uint16_t>(LeadingNumber(buffer));
  char* second = std::strchr(first + 1, '-');
  if (!second) return;
  *second = '\0';
  value.day = static_cast<uint16_t>(LeadingNumber(first + 1));
  char* rest = second + 1;
  if (char* space = std::strchr(rest, ' ')) *space = '\0';
  value.year = static_cast<uint16_t>(LeadingNumber(rest));
}

void ParseTime(DateTime& value, const char* text) {
  value = CurrentTime();
  if (!text) return;
  char buffer[7];
  CopyField(buffer, text);
  char* colon = std::strchr(buffer, ':');
  if (!colon) return;
  *colon = '\0';
  value.hour = static_cast<uint16_t>(LeadingNumber(buffer));
  value.minute = static_cast<uint16_t>(LeadingNumber(colon + 1));
  value.second = 0;
  value.milliseconds = 0;
}

void ClearTime(DateTime& value) {
  value.hour = 0;
  value.minute = 0;
  value.second = 0;
  value.milliseconds = 0;
}

int CompareDateTime(const DateTime& a, const DateTime& b) {
  const uint16_t left[] = {a.year, a.month, a.day, a.hour, a.minute};
  const uint16_t right[] = {b.year, b.month, b.day, b.hour, b.minute};
  for (int i = 0; i < 5; ++i) {
    if (left[i] < right[i]) return -1;
    if (left[i] > right[i]) return 1;
  }
  return 0;
}

long LeadingNumber(const char* text) {
  if (!text) return 0;
  while (IsSpace(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  // Saturate at the 32-bit limits, so that a file reads the same on every
  // host whatever the width of long.
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  int64_t magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    magnitude = magnitude * 10 + (*text - '0');
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<long>(negative ? -magnitude : magnitude);
}
