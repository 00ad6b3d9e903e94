#pragma once
// The main window's logic that has nothing to do with drawing: the severity
// class switches and the handling of every received syslog message.

#include <cstdint>
#include <string>

#include "base/date_time.h"
#include "base/regional_formats.h"
#include "core/monitor_outputs.h"
#include "core/user_view.h"
#include "syslog/syslog_message.h"

namespace kestrin::core {

inline constexpr std::uint32_t kEntryColour = 0x00FFFFFF;  // white
inline constexpr int kListHorizontalExtent = 1500;
inline constexpr int kBalloonDisplayMilliseconds = 5000;

class MonitorCore {
public:
    MonitorCore(const UserView& view, DailyLog& dailyLog, const base::Clock& clock,
                const base::RegionalFormats& formats);

    // The syslog listener's OnSyslog handler, on the main thread, once per
    // datagram: log every message, list and announce those of a switched-on
    // class. A failing log append or list add ends the handling of the message
    // and reaches the caller.
    void IdSyslogServer1Syslog(const syslog::TIdSysLogMessage& message);

    // The prefix for the current local time.
    std::u16string TimeStampPrefix() const;

    // Severity class switches, set at start-up and fixed for the run.
    bool errors = false;
    bool warnings = false;
    bool infos = false;

private:
    UserView view_;
    DailyLog& dailyLog_;
    const base::Clock& clock_;
    const base::RegionalFormats& formats_;
};

}  // namespace kestrin::core
