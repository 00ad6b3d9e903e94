#pragma once
// The Windows Sockets functions, found by name in the library that the socket
// layer loaded, at their first call.

#include <winsock2.h>

#include <bit>

namespace kestrin::net {

// Throws ESocketLibraryError when the library lacks the function (10022) or
// no user holds the socket layer (10093).
FARPROC WinsockFunctionAddress(const char* name);

// The function as its declared type: Winsock<decltype(::socket)>("socket").
template <typename Function>
Function* Winsock(const char* name) {
    return std::bit_cast<Function*>(WinsockFunctionAddress(name));
}

}  // namespace kestrin::net
