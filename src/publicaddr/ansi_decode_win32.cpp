#include <windows.h>

#include <climits>
#include <string>

#include "base/win32_text.h"
#include "publicaddr/public_address.h"

namespace kestrin::publicaddr {

std::u16string FromAnsi(std::string_view bytes) {
    // A text that cannot be converted comes back empty, which no caller takes
    // for an address.
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const int length = static_cast<int>(bytes.size());
    // No flags: bytes the code page does not define become its default character.
    const int size = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0) return {};
    std::u16string text(static_cast<std::size_t>(size), u'\0');
    if (::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, base::AsWide(text), size) != size) return {};
    return text;
}

}  // namespace kestrin::publicaddr
