#include "net/udp_server.h"

#include <exception>

#include "base/text.h"

namespace kestrin::net {

TIdUDPServer::TIdUDPServer() = default;

TIdUDPServer::~TIdUDPServer() {
    Deactivate();
}

bool TIdUDPServer::Active() const {
    return FCurrentBinding != nullptr && FCurrentBinding->HandleAllocated();
}

void TIdUDPServer::SetActive(bool active) {
    if (active) {
        if (!Active()) Activate();
    } else {
        // Also when Active reads false because the current binding's thread
        // ended on an error while the other thread still receives.
        Deactivate();
    }
}

void TIdUDPServer::SetBroadcastEnabled(bool enabled) {
    if (enabled == FBroadcastEnabled) return;
    FBroadcastEnabled = enabled;
    if (Active()) {
        for (const auto& binding : FBindings) binding->SetBroadcastEnabled(enabled);
    }
}

TIdSocketHandle& TIdUDPServer::AddBinding() {
    return *FBindings.emplace_back(std::make_unique<TIdSocketHandle>(DefaultPort));
}

std::vector<std::u16string> TIdUDPServer::ListenerThreadNames() const {
    std::lock_guard guard(FListenerThreadsLock);
    std::vector<std::u16string> names;
    for (const auto& thread : FListenerThreads) names.push_back(thread->Name());
    return names;
}

void TIdUDPServer::DoUDPException(TIdUDPListenerThread& thread, TIdSocketHandle& binding,
                                  const std::u16string& message, const std::type_info* kind) {
    // The program sets no handler: the failed datagram is dropped here unseen, so a bad message never stops reception.
    if (OnUDPException) OnUDPException(*this, thread, binding, message, kind);
}

void TIdUDPServer::Activate() {
    // Threads left from an activation whose current binding failed since.
    Deactivate();
    if (FBindings.empty()) {
        const TIdIPVersion first = IPVersion;
        const TIdIPVersion second = first == Id_IPv4 ? Id_IPv6 : Id_IPv4;
        AddBinding().IPVersion = first;
        if (SupportsIPVersion(second)) AddBinding().IPVersion = second;
    }
    BindAll();
    StartListenerThreads();
    for (const auto& binding : FBindings) binding->SetBroadcastEnabled(FBroadcastEnabled);
}

void TIdUDPServer::BindAll() {
    for (std::size_t i = 0; i < FBindings.size(); ++i) {
        TIdSocketHandle& binding = *FBindings[i];
        try {
            binding.AllocateSocket();
            if (ReuseSocket != rsOSDependent) binding.ReuseSocket = ReuseSocket;
            binding.Bind();
        } catch (...) {
            // The failing binding's own socket holds no port; it goes too.
            for (std::size_t j = 0; j <= i; ++j) FBindings[j]->CloseSocket();
            FCurrentBinding = nullptr;
            throw;
        }
        if (FCurrentBinding == nullptr) FCurrentBinding = &binding;
    }
}

void TIdUDPServer::StartListenerThreads() {
    std::lock_guard guard(FListenerThreadsLock);
    int number = 1;
    for (const auto& binding : FBindings) StartListenerThread(*binding, number++);
}

void TIdUDPServer::StartListenerThread(TIdSocketHandle& binding, int number) {
    // A thread that cannot be made or started leaves its binding bound and
    // idle; activation goes on with the next one.
    try {
        auto thread = std::make_unique<TIdUDPListenerThread>(*this, binding);
        thread->SetName((Name.empty() ? std::u16string(u"IdUDPServer") : Name) + u" Listener #" +
                        base::DecimalText(number));
        TIdUDPListenerThread& added = *FListenerThreads.emplace_back(std::move(thread));
        added.Start();
    } catch (...) {
    }
}

void TIdUDPServer::Deactivate() {
    {
        std::lock_guard guard(FListenerThreadsLock);
        while (!FListenerThreads.empty()) {
            TIdUDPListenerThread& thread = *FListenerThreads.front();
            thread.Stop();
            thread.Binding().CloseSocket();
            thread.WaitFor();
            FListenerThreads.erase(FListenerThreads.begin());
        }
    }
    FCurrentBinding = nullptr;
}

}  // namespace kestrin::net
