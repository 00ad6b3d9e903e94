#pragma once
// The program's modal message boxes. Each returns once it is dismissed; the
// caller's thread services its other events meanwhile.

#include <windows.h>

#include <exception>
#include <string>

namespace kestrin::ui {

// The error box: owned by `owner`, a stop icon, one OK button, the text of
// base::ErrorBoxText.
void ShowErrorBox(HWND owner, const std::u16string& caption, const std::exception_ptr& error);

// One OK button and no icon, centred on the primary screen whatever window is
// active; every window of the thread is disabled while it is open.
void ShowScreenCentredMessage(const std::u16string& caption, const std::u16string& text);

// The About box, owned by `owner`, with the maker notice as its caption.
void ShowAboutBox(HWND owner);

}  // namespace kestrin::ui
