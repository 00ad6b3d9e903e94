#include <unistd.h>

#include <array>
#include <cstring>

#include "base/text.h"
#include "net/local_host_name.h"

namespace kestrin::net {

std::u16string LocalHostName() {
    std::array<char, 250> buffer{};
    if (::gethostname(buffer.data(), buffer.size()) != 0) return {};
    // The system's 8-bit text is UTF-8 here.
    return base::Utf8ToUtf16(std::string_view(buffer.data(), ::strnlen(buffer.data(), buffer.size())));
}

}  // namespace kestrin::net
