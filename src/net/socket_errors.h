#pragma once
// The error kinds of the socket layer and their German texts.

#include <string>
#include <string_view>

#include "base/exception.h"

namespace kestrin::net {

// Error numbers are in the Windows Sockets numbering on every platform.
inline constexpr int kWSAENOTSOCK = 10038;
inline constexpr int kWSAEMSGSIZE = 10040;
inline constexpr int kWSAEADDRINUSE = 10048;
inline constexpr int kWSAEADDRNOTAVAIL = 10049;

// A failing socket call: the error number and "Socket-Fehler # <n><text>\r\n".
class EIdSocketError : public base::Exception {
public:
    explicit EIdSocketError(int errorNumber);
    int ErrorNumber() const noexcept { return errorNumber_; }

private:
    int errorNumber_;
};

// The socket error for 10038: the handle is not a socket (any more).
class EIdNotASocket : public EIdSocketError {
public:
    EIdNotASocket() : EIdSocketError(kWSAENOTSOCK) {}
};

// A bind, or the read-back of the bound address, failed; the socket error
// is the inner cause.
class EIdCouldNotBindSocket : public base::Exception {
public:
    explicit EIdCouldNotBindSocket(std::exception_ptr socketError);
};

// A sender address of a family other than IPv4 or IPv6.
class EIdIPVersionUnsupported : public base::Exception {
public:
    EIdIPVersionUnsupported();
};

// The socket library could not be loaded or started, or lacks a function.
class ESocketLibraryError : public base::Exception {
public:
    ESocketLibraryError(std::u16string message, int errorNumber)
        : Exception(std::move(message)), errorNumber_(errorNumber) {}
    int ErrorNumber() const noexcept { return errorNumber_; }

private:
    int errorNumber_;
};

// The German text of an error number, empty when the number has none.
std::u16string_view SocketErrorText(int errorNumber);

// The message of the socket error for an error number.
std::u16string SocketErrorMessage(int errorNumber);

// Throws EIdNotASocket for 10038 and EIdSocketError for any other number.
[[noreturn]] void RaiseSocketError(int errorNumber);

// "Fehler beim Laden der Winsock2-Bibliothek (WS2_32.DLL): <systemText>".
std::u16string LibraryLoadMessage(std::u16string_view systemText);

// "Fehler beim Aufruf der Winsock2-Bibliotheksfunktion <name>: <systemText>".
std::u16string LibraryFunctionMessage(std::u16string_view functionName, std::u16string_view systemText);

}  // namespace kestrin::net
