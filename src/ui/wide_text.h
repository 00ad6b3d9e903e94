#pragma once
// The window layer's texts: the shared UTF-16 conversions and a window's text.

#include <windows.h>

#include <string>

#include "base/win32_text.h"

namespace kestrin::ui {

using base::FromWide;
using base::Wide;

// A window's text (a caption, a label, a button).
inline std::u16string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return FromWide(text);
}

}  // namespace kestrin::ui
