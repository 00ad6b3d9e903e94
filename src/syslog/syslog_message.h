#pragma once
// One received syslog datagram: its raw text, its sender, and what the lenient
// RFC 3164 parse decodes from the text. Pri, Facility and Severity always agree
// (Pri = Facility * 8 + Severity) and the host name never holds a space.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "syslog/syslog_msg_part.h"
#include "syslog/syslog_types.h"

namespace kestrin::syslog {

class TIdSysLogMessage {
public:
    // A record with Pri 13 and the given local host name; `clock` gives the
    // year of header time stamps and the time of messages without one.
    // Throws EInvalidSyslogMessage when the host name holds a space.
    TIdSysLogMessage(std::u16string_view localHostName, const base::Clock& clock);

    // Fills the record from one datagram: sets Peer, then RawMessage from the
    // first 1024 bytes, which parses it. Never fails.
    void ReadFromBytes(std::span<const std::byte> bytes, std::u16string_view peer);

    TIdSyslogPRI Pri() const { return FPri; }
    // Refuses values above 191 with EInvalidSyslogMessage, leaving the record as it was.
    void SetPri(TIdSyslogPRI pri);

    TIdSyslogFacility Facility() const { return FFacility; }
    void SetFacility(TIdSyslogFacility facility);

    TIdSyslogSeverity Severity() const { return FSeverity; }
    void SetSeverity(TIdSyslogSeverity severity);

    const std::u16string& Hostname() const { return FHostname; }
    // Refuses a name with a space with EInvalidSyslogMessage, leaving the record as it was.
    void SetHostname(std::u16string_view hostname);

    const TIdSysLogMsgPart& Msg() const { return FMsg; }
    void SetMsg(const TIdSysLogMsgPart& msg) { FMsg.Assign(msg); }

    const std::u16string& RawMessage() const { return FRawMessage; }
    // Stores the text and parses it into Pri, TimeStamp, Hostname and Msg.
    void SetRawMessage(std::u16string_view rawMessage);

    const std::u16string& Peer() const { return FPeer; }
    void SetPeer(std::u16string_view peer) { FPeer = peer; }

    const base::LocalDateTime& TimeStamp() const { return FTimeStamp; }
    void SetTimeStamp(const base::LocalDateTime& timeStamp) { FTimeStamp = timeStamp; }

private:
    // The parse: each step starts where the previous one stopped and falls
    // back to defaults instead of failing. Positions are 0-based indexes.
    void ParseRawMessage();
    void ScanPri(std::size_t& position);
    void ScanHeader(std::size_t& position);
    void ScanMsg(std::size_t& position);
    base::LocalDateTime DecodeHeaderTime(std::u16string text) const;
    void RecomputePri(TIdSyslogFacility facility, TIdSyslogSeverity severity);

    TIdSysLogMsgPart FMsg;
    TIdSyslogFacility FFacility = sfKernel;
    TIdSyslogSeverity FSeverity = slEmergency;
    std::u16string FHostname;
    std::u16string FMessage;  // the whole MSG part as the parser took it
    base::LocalDateTime FTimeStamp;
    std::u16string FRawMessage;
    std::u16string FPeer;
    TIdSyslogPRI FPri = 0;
    const base::Clock* FClock;
};

}  // namespace kestrin::syslog
