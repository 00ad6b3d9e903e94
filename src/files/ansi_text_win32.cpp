#include <windows.h>

#include <string>

#include "base/win32_text.h"
#include "files/ansi_text.h"
#include "files/in_out_error.h"

namespace kestrin::files {

std::string ToAnsi(std::u16string_view text) {
    if (text.empty()) return {};
    const auto* wide = base::AsWide(text);
    const int length = static_cast<int>(text.size());
    // No flags and no default character: the system picks its best-fit replacement or "?".
    const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) throw EInOutError(static_cast<int>(::GetLastError()));
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (::WideCharToMultiByte(CP_ACP, 0, wide, length, bytes.data(), size, nullptr, nullptr) != size) {
        throw EInOutError(static_cast<int>(::GetLastError()));
    }
    return bytes;
}

}  // namespace kestrin::files
