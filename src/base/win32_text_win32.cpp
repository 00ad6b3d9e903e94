#include "base/win32_text.h"

#include <windows.h>

#include <iterator>

namespace kestrin::base {

std::u16string SystemErrorText(std::uint32_t errorCode) {
    wchar_t text[512];
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, errorCode, 0,
                                    text, static_cast<DWORD>(std::size(text)), nullptr);
    // The system's texts end in a line break that would split the message.
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) --length;
    return FromWide({text, length});
}

}  // namespace kestrin::base
