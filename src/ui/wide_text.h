#pragma once
// A window's text, for the window layer and its tests.

#include <windows.h>

#include <string>

#include "base/win32_text.h"

namespace kestrin::ui {

// A window's text (a caption, a label, a button).
inline std::u16string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return base::FromWide(text);
}

}  // namespace kestrin::ui
