#include "net/syslog_server.h"

#include "net/local_host_name.h"

namespace kestrin::net {

TIdSyslogServer::TIdSyslogServer(const base::Clock& clock) : clock_(clock) {
    DefaultPort = kSyslogPort;
}

TIdSyslogServer::~TIdSyslogServer() {
    Deactivate();
}

void TIdSyslogServer::DoUDPRead(TIdUDPListenerThread&, std::span<const std::byte> data, TIdSocketHandle& binding) {
    // A record per datagram, gone again when this returns or throws.
    syslog::TIdSysLogMessage message(LocalHostName(), clock_);
    message.ReadFromBytes(data, binding.PeerIP);
    if (OnSyslog) OnSyslog(*this, message, binding);
}

}  // namespace kestrin::net
