#include <winsock2.h>

#include <array>
#include <cstring>

#include "net/local_host_name.h"
#include "net/winsock_functions_win32.h"

namespace kestrin::net {

std::u16string LocalHostName() {
    std::array<char, 250> buffer{};
    try {
        if (Winsock<decltype(::gethostname)>("gethostname")(buffer.data(), static_cast<int>(buffer.size())) != 0) {
            return {};
        }
    } catch (...) {
        return {};
    }
    const int length = static_cast<int>(::strnlen(buffer.data(), buffer.size()));
    if (length == 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    wide.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_ACP, 0, buffer.data(), length, wide.data(), length)));
    return {wide.begin(), wide.end()};
}

}  // namespace kestrin::net
