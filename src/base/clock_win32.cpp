#include <windows.h>

#include "base/date_time.h"

namespace kestrin::base {

namespace {

class Win32Clock final : public Clock {
public:
    LocalDateTime Now() const override {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
    }
};

}  // namespace

const Clock& SystemClock() {
    static const Win32Clock clock;
    return clock;
}

}  // namespace kestrin::base
