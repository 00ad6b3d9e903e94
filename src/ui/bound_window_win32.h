#pragma once
// The one window procedure of the program's own window classes: it binds the
// object that created a window to it on WM_NCCREATE, releases it on
// WM_NCDESTROY, and hands every message in between to that object. An
// exception that escapes the object's handling never crosses the system's
// frames: it goes to the object's one error handler.

#include <windows.h>

#include <exception>

namespace kestrin::ui {

class BoundWindow {
public:
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

    // The procedure to register for a class whose windows CreateBound makes.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    BoundWindow() = default;
    ~BoundWindow() = default;

    // CreateWindowExW with this object bound; null when the system refuses.
    HWND CreateBound(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu);

    // The window's first message has arrived: from now on it is bound.
    virtual void Attached(HWND window) noexcept = 0;
    // Its last message: the handle is gone from now on.
    virtual void Detached() noexcept = 0;
    virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // An exception ended the handling of a message, whose result is then 0.
    virtual void MessageFailed(std::exception_ptr error) noexcept = 0;
};

}  // namespace kestrin::ui
