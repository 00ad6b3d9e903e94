// Any datagram becomes a complete record that keeps its invariants; the parse
// never fails. Built with libFuzzer by the fuzz preset, and natively into the
// corpus replay test, which calls LLVMFuzzerTestOneInput once per corpus file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/date_time.h"
#include "syslog/syslog_message.h"
#include "syslog/syslog_msg_part.h"
#include "syslog/syslog_text_rules.h"

namespace {

using kestrin::base::LocalDateTime;
using kestrin::syslog::TIdSysLogMessage;
using kestrin::syslog::TIdSysLogMsgPart;

constexpr std::u16string_view kPeer = u"192.0.2.1";
constexpr std::u16string_view kLocalHost = u"fuzz-host";
// A year without 29 February; the milliseconds tell "now" from a decoded time stamp.
constexpr LocalDateTime kNow{2026, 12, 8, 10, 15, 3, 250};

class StoppedClock final : public kestrin::base::Clock {
public:
    LocalDateTime Now() const override { return kNow; }
};

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool IsAsciiAlphanumeric(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

void CheckPri(const TIdSysLogMessage& message) {
    Check(message.Pri() <= 191);
    Check(message.Facility() == message.Pri() / 8);
    Check(message.Severity() == message.Pri() % 8);
    if (!message.RawMessage().starts_with(u'<')) Check(message.Pri() == 13);
}

// One character per byte of the first 1024.
void CheckRawMessage(const TIdSysLogMessage& message, std::span<const std::byte> bytes) {
    const std::u16string& raw = message.RawMessage();
    Check(raw.size() == std::min(bytes.size(), kestrin::syslog::kMaxRawMessageLength));
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto byte = std::to_integer<char16_t>(bytes[i]);
        Check(raw[i] == (byte < 128 ? byte : u'\uFFFD'));
    }
}

// Either a date of this year at a valid time, or "now" with the sender as host.
void CheckHeader(const TIdSysLogMessage& message) {
    for (const char16_t c : message.Hostname()) Check(c != u' ' && c <= 127);
    const LocalDateTime& stamp = message.TimeStamp();
    if (stamp == kNow) {
        Check(message.Hostname() == kPeer);
        return;
    }
    Check(stamp.year == kNow.year && kestrin::base::IsValidDate(stamp.year, stamp.month, stamp.day));
    Check(stamp.hour >= 0 && stamp.hour <= 23 && stamp.minute >= 0 && stamp.minute <= 59);
    Check(stamp.second >= 0 && stamp.second <= 59 && stamp.millisecond == 0);
}

// The fields come from the tail of the raw text, and joining and splitting
// them again gives the same fields.
void CheckMsg(const TIdSysLogMessage& message) {
    const TIdSysLogMsgPart& msg = message.Msg();
    Check(msg.Process().size() <= kestrin::syslog::kMaxProcessNameLength);
    Check(std::all_of(msg.Process().begin(), msg.Process().end(), IsAsciiAlphanumeric));
    Check(msg.PIDAvailable() == (msg.PID() != -1));
    Check(message.RawMessage().ends_with(msg.Content()));

    TIdSysLogMsgPart copy;
    copy.Assign(msg);
    Check(copy.Process() == msg.Process() && copy.PID() == msg.PID());
    Check(copy.PIDAvailable() == msg.PIDAvailable() && copy.Content() == msg.Content());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const StoppedClock clock;
    const auto bytes = std::as_bytes(std::span(data, size));
    TIdSysLogMessage message(kLocalHost, clock);
    message.ReadFromBytes(bytes, kPeer);

    Check(message.Peer() == kPeer);
    CheckPri(message);
    CheckRawMessage(message, bytes);
    CheckHeader(message);
    CheckMsg(message);
    return 0;
}
