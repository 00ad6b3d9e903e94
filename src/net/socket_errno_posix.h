#pragma once
// POSIX reports socket errors as errno values; the program shows them in the
// Windows Sockets numbering, matched by meaning.

namespace kestrin::net {

// The Windows Sockets number of an errno value; a value without a match is
// returned as it is (its message then has no text).
int SocketErrorNumberOfErrno(int errnoValue);

}  // namespace kestrin::net
