#pragma once
// Between the socket layer's use count and the platform part that starts and
// ends the platform's socket library.

#include <memory>
#include <mutex>

namespace kestrin::net {

// The started library; destroying it ends and releases it.
class SocketLibrary {
public:
    virtual ~SocketLibrary() = default;
};

// Loads and starts the library for the first user; null where the platform
// needs no start-up. Throws ESocketLibraryError.
std::unique_ptr<SocketLibrary> StartSocketLibrary();

// The lock of the use count, also held while a function is looked up.
std::mutex& SocketLayerLock();

// The library started for the current users, or null; call with the lock held.
SocketLibrary* StartedSocketLibrary();

}  // namespace kestrin::net
