#include "net/socket_errors.h"
#include "net/socket_layer.h"
#include "net/socket_library.h"
#include "net/udp_socket.h"

namespace kestrin::net {

// POSIX sockets need no start-up.
std::unique_ptr<SocketLibrary> StartSocketLibrary() {
    return nullptr;
}

// No protocol catalogue here: a version is supported when a socket of its family can be made.
bool SupportsIPVersion(TIdIPVersion version) {
    try {
        CreateDatagramSocket(version);
        return true;
    } catch (const EIdSocketError&) {
        return false;
    }
}

}  // namespace kestrin::net
