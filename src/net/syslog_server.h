#pragma once
// The syslog listener: a UDP server on port 514 whose read step makes a
// syslog message record of each datagram and passes it to OnSyslog.

#include <functional>

#include "base/date_time.h"
#include "net/udp_server.h"
#include "syslog/syslog_message.h"

namespace kestrin::net {

class TIdSyslogServer;

// The record belongs to the server and lives for the call only; the binding's
// PeerIP and PeerPort name the sender.
using TOnSyslogEvent =
    std::function<void(TIdSyslogServer& sender, syslog::TIdSysLogMessage& message, TIdSocketHandle& binding)>;

class TIdSyslogServer : public TIdUDPServer {
public:
    inline static constexpr std::uint16_t kSyslogPort = 514;

    // `clock` gives each record its year and its time when the datagram has none.
    explicit TIdSyslogServer(const base::Clock& clock);
    ~TIdSyslogServer() override;

    TOnSyslogEvent OnSyslog;

protected:
    void DoUDPRead(TIdUDPListenerThread& thread, std::span<const std::byte> data, TIdSocketHandle& binding) override;

private:
    const base::Clock& clock_;
};

}  // namespace kestrin::net
