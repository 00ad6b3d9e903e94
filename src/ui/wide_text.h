#pragma once
// The program's UTF-16 texts and the Win32 wide-character APIs: the same code
// units, copied across so no pointer is reinterpreted.

#include <windows.h>

#include <string>
#include <string_view>

namespace kestrin::ui {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide characters are UTF-16 code units");

inline std::wstring Wide(std::u16string_view text) { return {text.begin(), text.end()}; }
inline std::u16string FromWide(std::wstring_view text) { return {text.begin(), text.end()}; }

// A window's text (a caption, a label, a button).
inline std::u16string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

}  // namespace kestrin::ui
