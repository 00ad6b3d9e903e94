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
    : FServer(server), FBinding(binding) {}

TIdUDPListenerThread::~TIdUDPListenerThread() {
    Stop();
    WaitFor();
}

bool TIdUDPListenerThread::CountsAsStopped() const {
    return FStopped || FTerminated || FSuspended;
}

void TIdUDPListenerThread::Start() {
    std::lock_guard guard(FLock);
    if (!CountsAsStopped()) return;
    if (!FTerminated) FStopped = false;
    if (FSuspended) {
        FThread = std::thread(&TIdUDPListenerThread::Execute, this);
        FSuspended = false;
    }
}

void TIdUDPListenerThread::Stop() {
    std::lock_guard guard(FLock);
    if (CountsAsStopped()) return;
    FTerminated = true;
    FStopped = true;
}

bool TIdUDPListenerThread::Stopped() const {
    std::lock_guard guard(FLock);
    return CountsAsStopped();
}

bool TIdUDPListenerThread::Terminated() const {
    std::lock_guard guard(FLock);
    return FTerminated;
}

void TIdUDPListenerThread::WaitFor() {
    if (!FThread.joinable()) return;
    while (!WaitForRequestsOr([this] { return FEnded.load(); }, kJoinSlice)) RunQueuedRequests();
    FThread.join();
}

void TIdUDPListenerThread::Execute() {
    base::SetCurrentThreadName(FName);
    try {
        while (!Stopped()) ReceiveStep();
    } catch (...) {
        // Only the readiness wait lets an error out: the thread ends quietly.
        std::lock_guard guard(FLock);
        FTerminated = true;
        FStopped = true;
    }
    FBinding.CloseSocket();
    FEnded = true;
    NotifyMainThread();
}

void TIdUDPListenerThread::ReceiveStep() {
    const NativeSocket socket = FBinding.Handle();
    if (socket == kNoSocket) throw EIdNotASocket();
    if (!WaitReadable(socket, std::chrono::milliseconds(std::max(AcceptWait, 0)))) return;
    try {
        if (Stopped()) return;
        FBuffer.resize(static_cast<std::size_t>(std::max(FServer.BufferSize, 0)));
        const ReceivedDatagram datagram = FBinding.Receive(FBuffer);
        FBuffer.resize(datagram.length);
        FBinding.SetPeer(datagram.sender);
        if (FServer.ThreadedEvent) {
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
    FServer.DoUDPRead(*this, FBuffer, FBinding);
}

void TIdUDPListenerThread::UDPException() {
    FServer.DoUDPException(*this, FBinding, FCurrentException, FCurrentExceptionClass);
}

}  // namespace kestrin::net
