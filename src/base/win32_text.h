#pragma once
// The program's UTF-16 texts and the Win32 wide-character functions, which
// take the same code units as wchar_t. Windows only.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin::base {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 code units");

// Copies, for code that keeps wide strings of its own.
inline std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }
inline std::u16string FromWide(std::wstring_view text) { return {text.begin(), text.end()}; }

// The same code units in place, for a call's argument without a copy; taken
// from a std::u16string they end in its terminating zero.
inline const wchar_t* AsWide(std::u16string_view text) noexcept {
    return reinterpret_cast<const wchar_t*>(text.data());
}
// A text's code units as a buffer the system writes into.
inline wchar_t* AsWide(std::u16string& text) noexcept { return reinterpret_cast<wchar_t*>(text.data()); }

// The system's text for an error code, without its line break.
std::u16string SystemErrorText(std::uint32_t errorCode);

}  // namespace kestrin::base
