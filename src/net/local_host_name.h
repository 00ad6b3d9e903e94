#pragma once
// The machine's host name, asked of the system at every call: a record made
// for a datagram starts with it.

#include <string>

namespace kestrin::net {

// Read into 250 bytes in the system's 8-bit text; empty when the system call
// fails. Call while a SocketLayerUse is held.
std::u16string LocalHostName();

}  // namespace kestrin::net
