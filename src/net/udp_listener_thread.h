#pragma once
// The receiving thread of one binding: waits for its socket, takes one
// datagram at a time, records the sender on the binding and hands the
// datagram to the server's read step on the main thread. Errors on the way
// drop the datagram and go to the server's error step.

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

namespace kestrin::net {

class TIdSocketHandle;
class TIdUDPServer;

class TIdUDPListenerThread {
public:
    // Created stopped; Start runs it.
    TIdUDPListenerThread(TIdUDPServer& server, TIdSocketHandle& binding);
    // Stops the thread and waits for its end as WaitFor does.
    ~TIdUDPListenerThread();
    TIdUDPListenerThread(const TIdUDPListenerThread&) = delete;
    TIdUDPListenerThread& operator=(const TIdUDPListenerThread&) = delete;

    // The diagnostic name the platform gets when the thread starts.
    const std::u16string& Name() const { return FName; }
    void SetName(std::u16string name) { FName = std::move(name); }

    void Start();
    // Tells the thread to end after its current receive step; it is never restarted.
    void Stop();
    // True while stopped or terminated is set, or before the first Start.
    bool Stopped() const;
    bool Terminated() const;

    // Main thread: blocks until the thread has ended, running the queued
    // deliveries meanwhile, so a thread blocked in one can finish.
    void WaitFor();

    TIdSocketHandle& Binding() const { return FBinding; }

    // Longest single wait for the socket to become readable.
    int AcceptWait = 1000;

    // The last error the receive step caught: its message and kind.
    const std::u16string& CurrentException() const { return FCurrentException; }
    const std::type_info* CurrentExceptionClass() const { return FCurrentExceptionClass; }

private:
    void Execute();
    void ReceiveStep();
    // Keeps the message and kind of the error being handled.
    void KeepCurrentException();
    void Deliver(void (TIdUDPListenerThread::*step)());
    void UDPRead();
    void UDPException();
    bool CountsAsStopped() const;

    TIdUDPServer& FServer;
    TIdSocketHandle& FBinding;
    std::u16string FName;
    std::vector<std::byte> FBuffer;
    std::u16string FCurrentException;
    const std::type_info* FCurrentExceptionClass = nullptr;

    mutable std::mutex FLock;  // guards the three flags below
    bool FStopped = true;
    bool FTerminated = false;
    bool FSuspended = true;
    std::atomic<bool> FEnded = false;
    std::thread FThread;
};

}  // namespace kestrin::net
