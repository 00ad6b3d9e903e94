#include "ui/splitter_win32.h"

#include <windowsx.h>

#include "ui/dpi_win32.h"
#include "ui/ui_errors.h"
#include "ui/window_class_win32.h"

namespace kestrin::ui {

namespace {

constexpr wchar_t kSplitterClass[] = L"KestrinSplitter";

void RegisterSplitterClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass = WindowClassOf(kSplitterClass, procedure);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_SIZENS);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterWindowClass(windowClass);
}

}  // namespace

int SplitterListHeight(int proposed, int clientHeight, int dpi) {
    const int minSize = Scale(kSplitterMinSize, dpi);
    const int highest = clientHeight - Scale(kSplitterHeight, dpi) - minSize;
    const int height = proposed > highest ? highest : proposed;
    return height <= minSize ? 0 : height;
}

Splitter::Splitter(HWND parent, int id, SplitterClient& client) : parent_(parent), client_(client) {
    RegisterSplitterClass(&Splitter::WindowProcedure);
    // Alternate pixels: the line lets what is under it show through.
    static constexpr WORD kCheckerboard[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    pattern_.Reset(::CreateBitmap(8, 8, 1, 1, kCheckerboard));
    hatch_.Reset(::CreatePatternBrush(pattern_.Get()));
    if (!hatch_) throw EResourcesExhausted();
    window_ = ::CreateWindowExW(0, kSplitterClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                this);
    if (window_ == nullptr) throw EWindowCreateError();
}

LRESULT CALLBACK Splitter::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Splitter*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* splitter = reinterpret_cast<Splitter*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (splitter == nullptr || message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return splitter->HandleMessage(message, wParam, lParam);
    } catch (...) {
        splitter->client_.SplitterFailed(std::current_exception());
        return 0;
    }
}

LRESULT Splitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            BeginDrag(GET_Y_LPARAM(lParam));
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) Drag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_LBUTTONUP:
            if (dragging_) EndDrag(true);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the drag is abandoned.
            if (dragging_) EndDrag(false);
            return 0;
        default:
            return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Splitter::BeginDrag(int grabY) {
    RECT bounds;
    ::GetWindowRect(window_, &bounds);
    ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&bounds), 2);
    grabY_ = grabY;
    lineTop_ = bounds.top;
    dragging_ = true;
    ::SetCapture(window_);
    InvertLine(lineTop_);
}

void Splitter::Drag(POINT mouse) {
    ::MapWindowPoints(window_, parent_, &mouse, 1);
    const int top = client_.LimitListHeight(mouse.y - grabY_);
    if (top == lineTop_) return;
    InvertLine(lineTop_);
    lineTop_ = top;
    InvertLine(lineTop_);
}

void Splitter::EndDrag(bool apply) {
    InvertLine(lineTop_);
    dragging_ = false;
    // Releasing the capture sends WM_CAPTURECHANGED, which finds no drag any more.
    if (::GetCapture() == window_) ::ReleaseCapture();
    if (apply) client_.ListHeightChosen(lineTop_);
}

void Splitter::InvertLine(int top) const {
    RECT client;
    ::GetClientRect(parent_, &client);
    RECT own;
    ::GetClientRect(window_, &own);
    // Not clipped by the children: the line runs across the list as well.
    WindowDc dc(parent_, ::GetDCEx(parent_, nullptr, DCX_CACHE));
    if (dc.Get() == nullptr) return;
    SelectedObject brush(dc.Get(), hatch_.Get());
    ::PatBlt(dc.Get(), 0, top, client.right, own.bottom, PATINVERT);
}

}  // namespace kestrin::ui
