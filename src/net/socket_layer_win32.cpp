#include <winsock2.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/text.h"
#include "base/unique_handle.h"
#include "base/win32_text.h"
#include "net/socket_errors.h"
#include "net/socket_layer.h"
#include "net/socket_library.h"
#include "net/winsock_functions_win32.h"

namespace kestrin::net {

namespace {

constexpr wchar_t kLibraryFile[] = L"WS2_32.DLL";
constexpr WORD kRequestedVersion = MAKEWORD(2, 2);  // 514

void UnloadModule(HMODULE module) noexcept { ::FreeLibrary(module); }
using ModuleHandle = base::UniqueHandle<HMODULE, UnloadModule>;

// The loaded and started library with the functions found in it so far.
class WinsockLibrary final : public SocketLibrary {
public:
    explicit WinsockLibrary(ModuleHandle module) : module_(std::move(module)) {}
    ~WinsockLibrary() override {
        try {
            std::bit_cast<decltype(&::WSACleanup)>(Function("WSACleanup"))();
        } catch (...) {
            // Without WSACleanup there is nothing to end; the module is released all the same.
        }
    }
    WinsockLibrary(const WinsockLibrary&) = delete;
    WinsockLibrary& operator=(const WinsockLibrary&) = delete;

    // Called with the layer's lock held, which also guards the remembered addresses.
    FARPROC Function(const char* name) {
        if (const auto found = functions_.find(std::string_view(name)); found != functions_.end()) {
            return found->second;
        }
        const FARPROC address = ::GetProcAddress(module_.Get(), name);
        if (address == nullptr) throw FunctionError(name, WSAEINVAL);
        functions_.emplace(name, address);
        return address;
    }

    static ESocketLibraryError FunctionError(const char* name, int errorNumber) {
        return ESocketLibraryError(
            LibraryFunctionMessage(base::AsciiToUtf16(name), base::SystemErrorText(errorNumber)), errorNumber);
    }

private:
    ModuleHandle module_;
    std::map<std::string, FARPROC, std::less<>> functions_;
};

ESocketLibraryError LoadError(DWORD errorNumber) {
    return ESocketLibraryError(LibraryLoadMessage(base::SystemErrorText(errorNumber)), static_cast<int>(errorNumber));
}

}  // namespace

std::unique_ptr<SocketLibrary> StartSocketLibrary() {
    // A missing file must fail here, not ask the user in a system dialog.
    DWORD oldMode = 0;
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    ModuleHandle module(::LoadLibraryW(kLibraryFile));
    const DWORD loadError = ::GetLastError();
    ::SetThreadErrorMode(oldMode, nullptr);
    if (!module) throw LoadError(loadError);

    // Cleaning up after a failed start-up is not allowed, so the library
    // object exists only once the start-up has succeeded.
    const auto startup = std::bit_cast<decltype(&::WSAStartup)>(::GetProcAddress(module.Get(), "WSAStartup"));
    if (startup == nullptr) throw WinsockLibrary::FunctionError("WSAStartup", WSAEINVAL);
    WSADATA data{};
    if (const int result = startup(kRequestedVersion, &data); result != 0) throw LoadError(static_cast<DWORD>(result));
    return std::make_unique<WinsockLibrary>(std::move(module));
}

FARPROC WinsockFunctionAddress(const char* name) {
    std::lock_guard guard(SocketLayerLock());
    auto* library = static_cast<WinsockLibrary*>(StartedSocketLibrary());
    if (library == nullptr) throw WinsockLibrary::FunctionError(name, WSANOTINITIALISED);
    return library->Function(name);
}

// The protocol catalogue lists every installed protocol with its address family.
bool SupportsIPVersion(TIdIPVersion version) {
    const auto enumProtocols = Winsock<decltype(::WSAEnumProtocolsW)>("WSAEnumProtocolsW");
    const auto lastError = Winsock<decltype(::WSAGetLastError)>("WSAGetLastError");
    const int family = version == Id_IPv4 ? AF_INET : AF_INET6;
    std::vector<WSAPROTOCOL_INFOW> protocols;
    for (;;) {
        DWORD size = static_cast<DWORD>(protocols.size() * sizeof(WSAPROTOCOL_INFOW));
        const int count = enumProtocols(nullptr, protocols.empty() ? nullptr : protocols.data(), &size);
        if (count != SOCKET_ERROR) {
            for (int i = 0; i < count; ++i) {
                if (protocols[static_cast<std::size_t>(i)].iAddressFamily == family) return true;
            }
            return false;
        }
        if (lastError() != WSAENOBUFS) return false;
        // Grow at least by one entry, whatever size the call asked for.
        protocols.resize(std::max<std::size_t>(protocols.size() + 1,
                                               (size + sizeof(WSAPROTOCOL_INFOW) - 1) / sizeof(WSAPROTOCOL_INFOW)));
    }
}

}  // namespace kestrin::net
