#include "ui/bound_window_win32.h"

namespace kestrin::ui {

HWND BoundWindow::CreateBound(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x,
                              int y, int width, int height, HWND parent, HMENU menu) {
    // The base's own address: the procedure reads it back as a BoundWindow.
    return ::CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menu,
                             ::GetModuleHandleW(nullptr), static_cast<BoundWindow*>(this));
}

LRESULT CALLBACK BoundWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<BoundWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self != nullptr) self->Attached(window);
    }
    auto* self = reinterpret_cast<BoundWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->Detached();
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        self->MessageFailed(std::current_exception());
        return 0;
    }
}

}  // namespace kestrin::ui
