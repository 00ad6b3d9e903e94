#pragma once
// The bar between the list and the controls below it (Splitter1): dragging it
// shows a hatched line that follows the mouse; releasing the button gives the
// list its new height.

#include <windows.h>

#include <exception>

#include "ui/bound_window_win32.h"
#include "ui/win32_handles.h"

namespace kestrin::ui {

// Splitter height, and the least height of the list and of the space below
// the splitter, at 96 DPI.
inline constexpr int kSplitterHeight = 3;
inline constexpr int kSplitterMinSize = 30;

// The list's height for a drag that would give it `proposed`, in a client
// area `clientHeight` high: no more than leaves the least space below the
// splitter, and a list at the least height or lower collapses to nothing.
int SplitterListHeight(int proposed, int clientHeight, int dpi);

// What the splitter asks of the window it sits in.
class SplitterClient {
public:
    virtual ~SplitterClient() = default;
    // The height a drag to `proposed` would give the list.
    virtual int LimitListHeight(int proposed) = 0;
    // The drag ended with the list at `height`.
    virtual void ListHeightChosen(int height) = 0;
    virtual void SplitterFailed(std::exception_ptr error) = 0;
};

class Splitter final : private BoundWindow {
public:
    Splitter(HWND parent, int id, SplitterClient& client);
    Splitter(const Splitter&) = delete;
    Splitter& operator=(const Splitter&) = delete;
    // The splitter is a child window: it goes with its parent.
    ~Splitter() = default;

    HWND Handle() const noexcept { return window_; }

private:
    // BoundWindow
    void Attached(HWND window) noexcept override { window_ = window; }
    void Detached() noexcept override { window_ = nullptr; }
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void MessageFailed(std::exception_ptr error) noexcept override;

    void BeginDrag(int grabY);
    void Drag(POINT mouse);
    void EndDrag(bool apply);
    // Inverts the line at `top` on the parent; a second call takes it away.
    void InvertLine(int top) const;

    HWND parent_;
    SplitterClient& client_;
    HWND window_ = nullptr;
    UniqueBitmap pattern_;
    UniqueBrush hatch_;
    bool dragging_ = false;
    // Where in the splitter the mouse took hold of it.
    int grabY_ = 0;
    // The list height the line is shown at.
    int lineTop_ = 0;
};

}  // namespace kestrin::ui
