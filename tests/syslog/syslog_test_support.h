#pragma once
// What the syslog tests share: the sender and "now" every datagram is read
// with, a datagram read the way the listener reads one, and one check of every
// field a parse fills.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iomanip>
#include <ostream>
#include <span>
#include <string_view>

#include "base/date_time.h"
#include "syslog/syslog_message.h"

namespace kestrin::base {

// Readable date-times in failure output ("2026-12-08 10:15:03.250").
inline void PrintTo(const LocalDateTime& t, std::ostream* os) {
    *os << std::setfill('0') << std::setw(4) << t.year << '-' << std::setw(2) << t.month << '-' << std::setw(2)
        << t.day << ' ' << std::setw(2) << t.hour << ':' << std::setw(2) << t.minute << ':' << std::setw(2)
        << t.second << '.' << std::setw(3) << t.millisecond << std::setfill(' ');
}

}  // namespace kestrin::base

namespace kestrin::syslog::test {

// 2026 has no 29 February; the milliseconds tell "now" from a decoded time stamp.
inline constexpr base::LocalDateTime kNow{2026, 12, 8, 10, 15, 3, 250};
inline constexpr std::u16string_view kPeer = u"192.0.2.1";
inline constexpr std::u16string_view kLocalHost = u"kestrin-desk";
inline constexpr std::int32_t kNoPid = -1;

// A header time stamp decoded in the year of kNow.
constexpr base::LocalDateTime At(int month, int day, int hour, int minute, int second) {
    return {kNow.year, month, day, hour, minute, second, 0};
}

inline void ReadDatagram(TIdSysLogMessage& message, std::string_view datagram) {
    message.ReadFromBytes(std::as_bytes(std::span(datagram.data(), datagram.size())), kPeer);
}

// What a parse should leave in the record besides the raw text.
struct Expected {
    int pri;
    base::LocalDateTime timeStamp;
    std::u16string_view hostname;
    std::u16string_view process;
    std::int32_t pid;
    std::u16string_view content;
};

inline void ExpectRecord(const TIdSysLogMessage& message, std::u16string_view rawMessage, const Expected& expected) {
    EXPECT_EQ(message.Pri(), expected.pri);
    EXPECT_EQ(message.Facility(), expected.pri / 8);
    EXPECT_EQ(message.Severity(), expected.pri % 8);
    EXPECT_EQ(message.TimeStamp(), expected.timeStamp);
    EXPECT_EQ(message.Hostname(), expected.hostname);
    EXPECT_EQ(message.Peer(), kPeer);
    EXPECT_EQ(message.RawMessage(), rawMessage);
    EXPECT_EQ(message.Msg().Process(), expected.process);
    EXPECT_EQ(message.Msg().PID(), expected.pid);
    EXPECT_EQ(message.Msg().PIDAvailable(), expected.pid != kNoPid);
    EXPECT_EQ(message.Msg().Content(), expected.content);
}

}  // namespace kestrin::syslog::test
