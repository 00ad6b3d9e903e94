#include "syslog/syslog_message.h"

#include "base/integer_text.h"
#include "base/text.h"
#include "syslog/syslog_text_rules.h"

namespace kestrin::syslog {

namespace {

constexpr std::size_t kMaxPriDigits = 4;
constexpr std::size_t kHeaderTimeStampLength = 16;

[[noreturn]] void ThrowInvalid(std::u16string_view pattern, std::u16string_view value) {
    throw EInvalidSyslogMessage(base::FillPlaceholder(pattern, u"%s", value));
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

TIdSysLogMessage::TIdSysLogMessage(std::u16string_view localHostName, const base::Clock& clock) : FClock(&clock) {
    SetPri(kDefaultPri);
    SetHostname(localHostName);
}

void TIdSysLogMessage::ReadFromBytes(std::span<const std::byte> bytes, std::u16string_view peer) {
    // Peer first: the header step falls back to it.
    FPeer = peer;
    SetRawMessage(BytesToRawText(bytes));
}

void TIdSysLogMessage::SetPri(TIdSyslogPRI pri) {
    if (pri == FPri) return;
    if (pri > kMaxPri) ThrowInvalid(kInvalidPriNumberText, base::DecimalText(pri));
    FPri = pri;
    FFacility = static_cast<TIdSyslogFacility>(pri / 8);
    FSeverity = static_cast<TIdSyslogSeverity>(pri % 8);
}

void TIdSysLogMessage::SetFacility(TIdSyslogFacility facility) {
    if (facility != FFacility) RecomputePri(facility, FSeverity);
}

void TIdSysLogMessage::SetSeverity(TIdSyslogSeverity severity) {
    if (severity != FSeverity) RecomputePri(FFacility, severity);
}

// Goes through the Pri setter so that a value outside the enumerations is
// refused as a whole and Facility and Severity never disagree with Pri.
void TIdSysLogMessage::RecomputePri(TIdSyslogFacility facility, TIdSyslogSeverity severity) {
    const int pri = facility * 8 + severity;
    if (facility > sfLocalUseSeven || severity > slDebug) ThrowInvalid(kInvalidPriNumberText, base::DecimalText(pri));
    SetPri(static_cast<TIdSyslogPRI>(pri));
}

void TIdSysLogMessage::SetHostname(std::u16string_view hostname) {
    if (hostname == FHostname) return;
    if (hostname.find(u' ') != std::u16string_view::npos) ThrowInvalid(kInvalidHostNameText, hostname);
    FHostname = hostname;
}

void TIdSysLogMessage::SetRawMessage(std::u16string_view rawMessage) {
    FRawMessage = rawMessage;
    ParseRawMessage();
}

void TIdSysLogMessage::ParseRawMessage() {
    std::size_t position = 0;
    ScanPri(position);
    ScanHeader(position);
    ScanMsg(position);
}

// PRI part: "<" 0..4 decimal digits ">", value 0..191 ("<013>" is 13).
// Anything else: Pri 13 and the header is looked for where the PRI was.
void TIdSysLogMessage::ScanPri(std::size_t& position) {
    const std::size_t start = position;
    try {
        if (start >= FRawMessage.size() || FRawMessage[start] != u'<') ThrowInvalid(kInvalidPriPartText, {});
        std::u16string digits;
        std::size_t i = start + 1;
        for (;; ++i) {
            if (i >= FRawMessage.size()) ThrowInvalid(kInvalidPriNumberText, digits);
            const char16_t c = FRawMessage[i];
            if (c == u'>') break;
            if (!IsDigit(c)) ThrowInvalid(kInvalidPriNumberText, digits);
            if (digits.size() == kMaxPriDigits) ThrowInvalid(kInvalidPriPartText, {});
            digits += c;
        }
        position = i + 1;
        const int value = digits.empty() ? -1 : base::ParseInteger(digits);
        if (value < 0 || value > kMaxPri) ThrowInvalid(kInvalidPriNumberText, base::DecimalText(value));
        SetPri(static_cast<TIdSyslogPRI>(value));
    } catch (const EInvalidSyslogMessage&) {
        SetPri(kDefaultPri);
        position = start;
    }
}

// HEADER: TIMESTAMP " " HOSTNAME " ", the time stamp being "Mmm dd hh:mm:ss ".
// A word with a ":" after the time stamp is the start of the MSG part, not a
// host name (a tag such as "dnsmasq[412]:" or an IPv6 address); the sender
// then stands in for the host, as it does when the time stamp is missing.
void TIdSysLogMessage::ScanHeader(std::size_t& position) {
    try {
        FTimeStamp = DecodeHeaderTime(FRawMessage.substr(position, kHeaderTimeStampLength));
        position += kHeaderTimeStampLength;
        const std::size_t end = FRawMessage.find(u' ', position);
        std::u16string hostname = FRawMessage.substr(position, end - position);
        if (hostname.find(u':') != std::u16string::npos) {
            FHostname = FPeer;
        } else {
            FHostname = std::move(hostname);
            position = end == std::u16string::npos ? FRawMessage.size() : end + 1;
        }
        MaskNonAscii(FHostname);
    } catch (const EInvalidSyslogMessage&) {
        FTimeStamp = FClock->Now();
        FHostname = FPeer;
    }
}

void TIdSysLogMessage::ScanMsg(std::size_t& position) {
    FMessage = position < FRawMessage.size() ? FRawMessage.substr(position) : std::u16string();
    FMsg.SetText(FMessage);
    position = FRawMessage.size();
}

// "Mmm dd hh:mm:ss " in the current year. The separators at 4, 7, 10 and 13
// are not examined; a time field that is not a number reads as 0.
base::LocalDateTime TIdSysLogMessage::DecodeHeaderTime(std::u16string text) const {
    MaskNonAscii(text);
    if (text.size() == kHeaderTimeStampLength) {
        const std::u16string_view view = text;
        const int month = MonthFromName(view.substr(0, 3));
        const int day = NumberFieldOr(view.substr(4, 2), 0);
        const int hour = NumberFieldOr(view.substr(7, 2), 0);
        const int minute = NumberFieldOr(view.substr(10, 2), 0);
        const int second = NumberFieldOr(view.substr(13, 2), 0);
        const bool fieldsValid = month >= 1 && day >= 1 && day <= 31 && hour >= 0 && hour <= 23 && minute >= 0 &&
                                 minute <= 59 && second >= 0 && second <= 59 && view[15] == u' ';
        if (fieldsValid) {
            const int year = FClock->Now().year;
            if (base::IsValidDate(year, month, day)) return {year, month, day, hour, minute, second, 0};
        }
    }
    ThrowInvalid(kInvalidTimeStampText, text);
}

}  // namespace kestrin::syslog
