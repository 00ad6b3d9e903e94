#include "net/udp_listener_thread.h"

#include <algorithm>
#include <chrono>
#include <exception>

#include "base/exception.h"
#include "base/text.h"
#include "base/thread_name.h"
#include "net/main_thread_queue.h"
#include "net/socket_errors.h"
#include "net/socket_handle.h"
#include "net/udp_server.h"

namespace kestrin::net {

namespace {

constexpr std::chrono::milliseconds kJoinSlice{1000};

}  // namespace

TIdUDPListenerThread::TIdUDPListenerThread(TIdUDPServer& server, TIdSocketHandle& binding)
    : server_(server), binding_(binding) {}

TIdUDPListenerThread::~TIdUDPListenerThread() {
    Stop();
    WaitFor();
}

bool TIdUDPListenerThread::CountsAsStopped() const {
    return stopped_ || terminated_ || suspended_;
}

void TIdUDPListenerThread::Start() {
    std::lock_guard guard(lock_);
    if (!CountsAsStopped()) return;
    if (!terminated_) stopped_ = false;
    if (suspended_) {
        thread_ = std::thread(&TIdUDPListenerThread::Execute, this);
        suspended_ = false;
    }
}

void TIdUDPListenerThread::Stop() {
    std::lock_guard guard(lock_);
    if (CountsAsStopped()) return;
    terminated_ = true;
    stopped_ = true;
}

bool TIdUDPListenerThread::Stopped() const {
    std::lock_guard guard(lock_);
    return CountsAsStopped();
}

bool TIdUDPListenerThread::Terminated() const {
    std::lock_guard guard(lock_);
    return terminated_;
}

void TIdUDPListenerThread::WaitFor() {
    if (!thread_.joinable()) return;
    while (!WaitForRequestsOr([this] { return ended_.load(); }, kJoinSlice)) RunQueuedRequests();
    thread_.join();
}

void TIdUDPListenerThread::Execute() {
    base::SetCurrentThreadName(name_);
    try {
        while (!Stopped()) ReceiveStep();
    } catch (...) {
        // Only the readiness wait lets an error out: the thread ends quietly.
        std::lock_guard guard(lock_);
        terminated_ = true;
        stopped_ = true;
    }
    binding_.CloseSocket();
    ended_ = true;
    NotifyMainThread();
}

void TIdUDPListenerThread::ReceiveStep() {
    const NativeSocket socket = binding_.Handle();
    if (socket == kNoSocket) throw EIdNotASocket();
    if (!WaitReadable(socket, std::chrono::milliseconds(std::max(AcceptWait, 0)))) return;
    try {
        if (Stopped()) return;
        FBuffer.resize(static_cast<std::size_t>(std::max(server_.BufferSize, 0)));
        const ReceivedDatagram datagram = ReceiveFrom(socket, FBuffer);
        FBuffer.resize(datagram.length);
        binding_.SetPeer(datagram.sender);
        if (server_.ThreadedEvent) {
            UDPRead();
        } else {
            Deliver(&TIdUDPListenerThread::UDPRead);
        }
    } catch (...) {
        KeepCurrentException();
        try {
            Deliver(&TIdUDPListenerThread::UDPException);
        } catch (...) {
            // An error step that fails loses nothing more than the datagram already lost.
        }
    }
}

void TIdUDPListenerThread::KeepCurrentException() {
    FCurrentException.clear();
    FCurrentExceptionClass = nullptr;
    try {
        throw;
    } catch (const base::Exception& error) {
        FCurrentException = error.Message();
        FCurrentExceptionClass = &typeid(error);
    } catch (const std::exception& error) {
        FCurrentException = base::Utf8ToUtf16(error.what());
        FCurrentExceptionClass = &typeid(error);
    } catch (...) {
        // An error of no known kind leaves both empty.
    }
}

void TIdUDPListenerThread::Deliver(void (TIdUDPListenerThread::*step)()) {
    RunOnMainThread([this, step] { (this->*step)(); });
}

void TIdUDPListenerThread::UDPRead() {
    server_.DoUDPRead(*this, FBuffer, binding_);
}

void TIdUDPListenerThread::UDPException() {
    server_.DoUDPException(*this, binding_, FCurrentException, FCurrentExceptionClass);
}

}  // namespace kestrin::net
