#pragma once
// A window subclass for one scope: its procedure sees the window's messages
// before the window's own procedure, and is removed again at the end.

#include <windows.h>

#include <commctrl.h>

namespace kestrin::ui {

class WindowSubclass {
public:
    WindowSubclass() noexcept = default;
    WindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) noexcept
        : window_(::SetWindowSubclass(window, procedure, id, data) ? window : nullptr), procedure_(procedure), id_(id) {}
    ~WindowSubclass() { Reset(); }
    WindowSubclass(WindowSubclass&& other) noexcept { *this = static_cast<WindowSubclass&&>(other); }
    WindowSubclass& operator=(WindowSubclass&& other) noexcept {
        if (this != &other) {
            Reset();
            window_ = other.window_;
            procedure_ = other.procedure_;
            id_ = other.id_;
            other.window_ = nullptr;
        }
        return *this;
    }
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    explicit operator bool() const noexcept { return window_ != nullptr; }
    void Reset() noexcept {
        if (window_ != nullptr && ::IsWindow(window_)) ::RemoveWindowSubclass(window_, procedure_, id_);
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    SUBCLASSPROC procedure_ = nullptr;
    UINT_PTR id_ = 0;
};

}  // namespace kestrin::ui
