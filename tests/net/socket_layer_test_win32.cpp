#include <gtest/gtest.h>

#include <string>

#include "base/win32_text.h"
#include "net/socket_errors.h"
#include "net/socket_layer.h"
#include "net/udp_socket.h"
#include "net/winsock_functions_win32.h"

namespace kestrin::net {
namespace {

// Wine's socket library keeps per-thread data that it frees only when a
// thread ends, not when the library is unloaded; a thread that calls into a
// reloaded library then reads freed memory. The program loads the library
// once, but these tests end and start the socket layer many times, so the
// test program holds the file loaded: the layer's own start and end, and its
// look-ups, behave the same either way.
const HMODULE kKeptLoaded = ::LoadLibraryW(L"WS2_32.DLL");

// The system's text at the end depends on the system's language, so the system is asked for it.
void ExpectFunctionError(auto call, const std::u16string& name, int number) {
    try {
        call();
        ADD_FAILURE() << "nothing thrown";
    } catch (const ESocketLibraryError& error) {
        const std::u16string prefix = u"Fehler beim Aufruf der Winsock2-Bibliotheksfunktion " + name + u": ";
        EXPECT_EQ(error.Message().substr(0, prefix.size()), prefix);
        EXPECT_EQ(error.Message().substr(prefix.size()), base::SystemErrorText(static_cast<std::uint32_t>(number)));
        EXPECT_EQ(error.ErrorNumber(), number);
    }
}

TEST(SocketLayerWin32Test, AFunctionMissingFromTheLibraryFailsItsCall) {
    SocketLayerUse use;
    ExpectFunctionError([] { WinsockFunctionAddress("KestrinNoSuchFunction"); }, u"KestrinNoSuchFunction", 10022);
}

TEST(SocketLayerWin32Test, WithoutAUserTheLibraryIsNotLoaded) {
    ASSERT_EQ(SocketLayerUsers(), 0);
    ExpectFunctionError([] { CreateDatagramSocket(Id_IPv4); }, u"socket", 10093);
}

}  // namespace
}  // namespace kestrin::net
