// The three text forms of dates and times: the stamp "M-D-YYYY H:MM", the
// date "M-D-YYYY" and the time "H:MM".
#pragma once

#include <string>

#include "base/platform.h"

// The date-time stamp of the current local time (the application clock).
std::string StampNow();
std::string FormatStamp(const DateTime& value);
std::string FormatDate(const DateTime& value);
std::string FormatTime(const DateTime& value);
// Sets month, day and year from a date text or stamp; nothing else.
void ParseDate(DateTime& value, const char* text);
// Sets the whole value: today at the given time, or now when the text has
// no ":".
void ParseTime(DateTime& value, const char* text);
void ClearTime(DateTime& value);
// -1, 0 or 1, by year, month, day, hour and minute only.
int CompareDateTime(const DateTime& a, const DateTime& b);
// The leading number of a text, as the C library's atoi reads it, without
// its overflow faults: white space, sign, digits; no digit gives 0.
long LeadingNumber(const char* text);
