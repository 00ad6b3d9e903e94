#pragma once
// What the monitor's logic needs from the rest of the program: the window's
// list, balloon switch and tray icon, and the daily log. The window layer and
// the file layer implement these; tests record the calls.

#include <cstdint>
#include <string>

namespace kestrin::core {

// The tray icon's balloon kinds.
enum TBalloonType : std::uint8_t { btNone = 0, btError = 1, btInfo = 2, btWarning = 3 };

class EntryView {
public:
    virtual ~EntryView() = default;
    // ListBox1 to owner-drawn rows of fixed height; nothing when it already is.
    virtual void SetListOwnerDrawFixed() = 0;
    // Appends a row with its text colour (0x00BBGGRR); throws when the list refuses it.
    virtual void AddListEntry(const std::u16string& line, std::uint32_t colour) = 0;
    // Whether "View hints for new entries" is ticked.
    virtual bool BalloonSwitch() const = 0;
    virtual void BalloonHint(const std::u16string& title, const std::u16string& value, TBalloonType balloonType,
                             int delayMilliseconds, bool cancelPrevious) = 0;
    // LB_SETHORIZONTALEXTENT.
    virtual void SetListHorizontalExtent(int width) = 0;
};

class DailyLog {
public:
    virtual ~DailyLog() = default;
    // Appends one line to today's log file; throws EInOutError on failure.
    virtual void AppendLogLine(const std::u16string& line) = 0;
};

}  // namespace kestrin::core
