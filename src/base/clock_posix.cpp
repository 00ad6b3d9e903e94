#include <ctime>

#include "base/date_time.h"

namespace kestrin::base {

namespace {

class PosixClock final : public Clock {
public:
    LocalDateTime Now() const override {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        tm local{};
        ::localtime_r(&now.tv_sec, &local);
        return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                local.tm_min,         local.tm_sec,     static_cast<int>(now.tv_nsec / 1000000)};
    }
};

}  // namespace

const Clock& SystemClock() {
    static const PosixClock clock;
    return clock;
}

}  // namespace kestrin::base
