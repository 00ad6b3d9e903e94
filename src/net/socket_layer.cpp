#include "net/socket_layer.h"

#include "net/socket_library.h"

namespace kestrin::net {

namespace {

struct LayerState {
    std::mutex lock;
    int users = 0;
    std::unique_ptr<SocketLibrary> library;
};

LayerState& State() {
    static LayerState state;
    return state;
}

void Register() {
    LayerState& state = State();
    std::lock_guard guard(state.lock);
    if (state.users == 0) state.library = StartSocketLibrary();
    ++state.users;
}

void Release() noexcept {
    LayerState& state = State();
    std::lock_guard guard(state.lock);
    if (--state.users == 0) state.library.reset();
}

}  // namespace

std::mutex& SocketLayerLock() {
    return State().lock;
}

SocketLibrary* StartedSocketLibrary() {
    return State().library.get();
}

SocketLayerUse::SocketLayerUse() {
    Register();
}

SocketLayerUse::~SocketLayerUse() {
    if (registered_) Release();
}

SocketLayerUse::SocketLayerUse(SocketLayerUse&& other) noexcept : registered_(other.registered_) {
    other.registered_ = false;
}

SocketLayerUse& SocketLayerUse::operator=(SocketLayerUse&& other) noexcept {
    if (this != &other) {
        if (registered_) Release();
        registered_ = other.registered_;
        other.registered_ = false;
    }
    return *this;
}

int SocketLayerUsers() {
    LayerState& state = State();
    std::lock_guard guard(state.lock);
    return state.users;
}

}  // namespace kestrin::net
