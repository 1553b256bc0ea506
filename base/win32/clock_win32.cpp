#include <windows.h>

#include "base/clock.h"

namespace {

class HostClock final : public Clock {
 public:
  DateTime Now() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    DateTime value{};
    value.year = now.wYear;
    value.month = now.wMonth;
    value.dayOfWeek = now.wDayOfWeek;
    value.day = now.wDay;
    value.hour = now.wHour;
    value.minute = now.wMinute;
    value.second = now.wSecond;
    value.milliseconds = now.wMilliseconds;
    return value;
  }
};

}  // namespace

Clock* SystemClock() {
  static HostClock clock;
  return &clock;
}
