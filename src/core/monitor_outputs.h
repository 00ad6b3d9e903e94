#pragma once
// What the monitor's logic writes besides what the user sees: the daily log.
// The file layer implements it; tests record the calls.

#include <string>

namespace kestrin::core {

class DailyLog {
public:
    virtual ~DailyLog() = default;
    // Appends one line to today's log file; throws EInOutError on failure.
    virtual void AppendLogLine(const std::u16string& line) = 0;
};

}  // namespace kestrin::core
