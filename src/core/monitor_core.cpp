#include "core/monitor_core.h"

#include "core/entry_line.h"
#include "core/time_stamp_texts.h"

namespace kestrin::core {

MonitorCore::MonitorCore(const UserView& view, DailyLog& dailyLog, const base::Clock& clock,
                         const base::RegionalFormats& formats)
    : view_(view), dailyLog_(dailyLog), clock_(clock), formats_(formats) {}

std::u16string MonitorCore::TimeStampPrefix() const {
    return core::TimeStampPrefix(clock_.Now(), formats_);
}

void MonitorCore::IdSyslogServer1Syslog(const syslog::TIdSysLogMessage& message) {
    view_.list.SetListOwnerDrawFixed();
    const std::u16string line = EntryLine(TimeStampPrefix(), message);
    dailyLog_.AppendLogLine(line);

    bool shown = false;
    std::u16string title;
    TBalloonType balloonType = btNone;
    switch (SeverityClassOf(message.Severity())) {
        case SeverityClass::errors:
            shown = errors, title = u"New Kestrin Error", balloonType = btError;
            break;
        case SeverityClass::warnings:
            shown = warnings, title = u"New Kestrin Warning", balloonType = btWarning;
            break;
        case SeverityClass::infos:
            // A switched-off info class skips the extent step as well.
            if (!infos) return;
            shown = true, title = u"New Kestrin Info", balloonType = btInfo;
            break;
    }

    if (shown) {
        view_.list.AddListEntry(line, kEntryColour);
        if (view_.controls.BalloonSwitch()) {
            view_.balloons.BalloonHint(title, line, balloonType, kBalloonDisplayMilliseconds, false);
        }
    }
    view_.list.SetListHorizontalExtent(kListHorizontalExtent);
}

}  // namespace kestrin::core
