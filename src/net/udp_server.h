#pragma once
// A UDP server: bindings of one port on the IPv4 and IPv6 wildcard addresses,
// one listener thread per binding, each datagram handed to the read step on
// the main thread. Every member is used on the main thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <typeinfo>
#include <vector>

#include "net/socket_handle.h"
#include "net/socket_layer.h"
#include "net/udp_listener_thread.h"

namespace kestrin::net {

class TIdUDPServer {
public:
    using ExceptionHandler = std::function<void(TIdUDPServer& sender, TIdUDPListenerThread& thread,
                                                TIdSocketHandle& binding, const std::u16string& message,
                                                const std::type_info* kind)>;

    // Registers with the socket layer; throws ESocketLibraryError when it cannot start.
    TIdUDPServer();
    // Deactivates; a derived server deactivates in its own destructor already,
    // since its read step must not run while it is being taken apart.
    virtual ~TIdUDPServer();
    TIdUDPServer(const TIdUDPServer&) = delete;
    TIdUDPServer& operator=(const TIdUDPServer&) = delete;

    // The component name; the listener threads are named after it.
    std::u16string Name;

    // True while the first binding of the last activation has its socket open.
    bool Active() const;
    // True activates, false deactivates; the value Active reads already does
    // nothing. Activation errors reach the caller with every socket it opened
    // closed again and no thread started.
    void SetActive(bool active);

    // Both are consulted only by an activation that finds no bindings.
    std::uint16_t DefaultPort = 0;
    TIdIPVersion IPVersion = Id_IPv4;

    bool BroadcastEnabled() const { return FBroadcastEnabled; }
    // Applied to every binding at once while active.
    void SetBroadcastEnabled(bool enabled);

    // Size of the buffer for one datagram; a longer datagram is dropped.
    std::int32_t BufferSize = 8192;
    TIdReuseSocket ReuseSocket = rsOSDependent;
    // False: the read step runs on the main thread.
    bool ThreadedEvent = false;
    // Called by the error step; none is set in this program.
    ExceptionHandler OnUDPException;

    // Filled by the first activation and kept across deactivation.
    const std::vector<std::unique_ptr<TIdSocketHandle>>& Bindings() const { return FBindings; }
    // A new binding on DefaultPort.
    TIdSocketHandle& AddBinding();
    TIdSocketHandle* CurrentBinding() const { return FCurrentBinding; }

    // The names of the listener threads, in binding order.
    std::vector<std::u16string> ListenerThreadNames() const;

protected:
    friend class TIdUDPListenerThread;
    // Main thread, once per datagram, with the bytes received and the binding
    // that names its sender.
    virtual void DoUDPRead(TIdUDPListenerThread& thread, std::span<const std::byte> data,
                           TIdSocketHandle& binding) = 0;
    // Main thread, once per error a receive step caught.
    virtual void DoUDPException(TIdUDPListenerThread& thread, TIdSocketHandle& binding,
                                const std::u16string& message, const std::type_info* kind);

    // Stops and waits for every listener thread; the bindings stay.
    void Deactivate();

private:
    void Activate();
    void BindAll();
    void StartListenerThreads();
    void StartListenerThread(TIdSocketHandle& binding, int number);

    SocketLayerUse FSocketLayer;  // first: the sockets below need it to the end
    std::vector<std::unique_ptr<TIdSocketHandle>> FBindings;
    TIdSocketHandle* FCurrentBinding = nullptr;
    bool FBroadcastEnabled = false;
    mutable std::mutex FListenerThreadsLock;
    std::vector<std::unique_ptr<TIdUDPListenerThread>> FListenerThreads;
};

}  // namespace kestrin::net
