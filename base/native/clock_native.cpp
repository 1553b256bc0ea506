#include <sys/time.h>

#include <ctime>

#include "base/clock.h"

namespace {

class HostClock final : public Clock {
 public:
  DateTime Now() override {
    timeval now{};
    gettimeofday(&now, nullptr);
    std::tm local{};
    time_t seconds = now.tv_sec;
    localtime_r(&seconds, &local);
    DateTime value{};
    value.year = static_cast<uint16_t>(local.tm_year + 1900);
    value.month = static_cast<uint16_t>(local.tm_mon + 1);
    value.dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    value.day = static_cast<uint16_t>(local.tm_mday);
    value.hour = static_cast<uint16_t>(local.tm_hour);
    value.minute = static_cast<uint16_t>(local.tm_min);
    // A leap second shows as 60 in struct tm; SYSTEMTIME knows none.
    value.second = static_cast<uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
    value.milliseconds = static_cast<uint16_t>(now.tv_usec / 1000);
    return value;
  }
};

}  // namespace

Clock* SystemClock() {
  static HostClock clock;
  return &clock;
}
