#pragma once
// A clock that stands still until the test moves it.

#include "base/date_time.h"

class FixedClock final : public kestrin::base::Clock {
public:
    explicit FixedClock(kestrin::base::LocalDateTime now = {2026, 12, 8, 10, 15, 3, 250}) : now_(now) {}
    kestrin::base::LocalDateTime Now() const override { return now_; }
    void Set(const kestrin::base::LocalDateTime& now) { now_ = now; }

private:
    kestrin::base::LocalDateTime now_;
};
