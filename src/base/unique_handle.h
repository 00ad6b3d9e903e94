#pragma once
// The one owner of a system handle, whatever its kind: windows, GDI objects,
// files, modules, internet handles, descriptors. It frees its handle exactly
// once, so no early return or exception leaks one. Where the result of
// closing matters, the caller takes the handle with Release() and closes it
// itself; the owner then covers only the roads that fail before that.

#include <cstdint>
#include <type_traits>
#include <utility>

namespace kestrin::base {

// Whether `handle` is a value the system uses for "no handle": for pointers
// null and all bits set (INVALID_HANDLE_VALUE), for integers such as POSIX
// descriptors only -1, since 0 is a valid descriptor.
template <typename Handle>
bool IsEmptyHandle(Handle handle) noexcept {
    if constexpr (std::is_pointer_v<Handle>) {
        return handle == nullptr || reinterpret_cast<std::uintptr_t>(handle) == ~std::uintptr_t{0};
    } else {
        return handle == static_cast<Handle>(-1);
    }
}

// Owns one `Handle` and gives it to `Free` at the end; move-only.
template <typename Handle, auto Free>
class UniqueHandle {
    static_assert(std::is_pointer_v<Handle> || std::is_integral_v<Handle>, "a handle is a pointer or an integer");

public:
    // What an owner without a handle holds.
    static constexpr Handle kEmpty = [] {
        if constexpr (std::is_pointer_v<Handle>) {
            return Handle{};
        } else {
            return static_cast<Handle>(-1);
        }
    }();

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return !IsEmptyHandle(handle_); }
    // Gives up ownership without freeing, for a handle someone else now owns
    // or that the caller closes itself.
    Handle Release() noexcept { return std::exchange(handle_, kEmpty); }
    // Frees the handle held so far, if any, and takes `handle`.
    void Reset(Handle handle = kEmpty) noexcept {
        if (const Handle old = std::exchange(handle_, handle); !IsEmptyHandle(old)) static_cast<void>(Free(old));
    }

private:
    Handle handle_ = kEmpty;
};

}  // namespace kestrin::base
