#pragma once
// The program's modal message boxes. Each returns once it is dismissed; the
// caller's thread services its other events meanwhile. Whoever decides what
// the user sees learns of each box as it opens and closes.

#include <windows.h>

#include <cstdint>
#include <exception>
#include <string>

namespace kestrin::ui {

enum class BoxKind : std::uint8_t { SwitchWarning, Error, About };

class BoxObserver {
public:
    virtual ~BoxObserver() = default;
    // `box` exists, with its texts and its owner, and shows once this returns;
    // `before` had the foreground when the box was asked for.
    virtual void BoxOpened(BoxKind /*kind*/, HWND /*box*/, HWND /*before*/) {}
    // The box is gone; the thread's windows are enabled again. Must not throw.
    virtual void BoxClosed(BoxKind /*kind*/) {}
};

// The error box: owned by `owner`, a stop icon, one OK button, the text of
// base::ErrorBoxText.
void ShowErrorBox(HWND owner, const std::u16string& caption, const std::exception_ptr& error,
                  BoxObserver* observer = nullptr);

// One OK button and no icon, centred on the primary screen whatever window is
// active; every window of the thread is disabled while it is open.
void ShowScreenCentredMessage(const std::u16string& caption, const std::u16string& text,
                              BoxObserver* observer = nullptr);

// The About box, owned by `owner`, with the maker notice as its caption.
void ShowAboutBox(HWND owner, BoxObserver* observer = nullptr);

}  // namespace kestrin::ui
