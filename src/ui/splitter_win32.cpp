#include "ui/splitter_win32.h"

#include <windowsx.h>

#include "base/exception.h"
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
    RegisterSplitterClass(&BoundWindow::Procedure);
    // Alternate pixels: the line lets what is under it show through.
    static constexpr WORD kCheckerboard[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    pattern_.Reset(::CreateBitmap(8, 8, 1, 1, kCheckerboard));
    hatch_.Reset(::CreatePatternBrush(pattern_.Get()));
    if (!hatch_) throw EResourcesExhausted();
    if (CreateBound(0, kSplitterClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))) == nullptr) {
        throw EWindowCreateError();
    }
}

void Splitter::MessageFailed(std::exception_ptr error) noexcept {
    base::Quietly([&] { client_.SplitterFailed(std::move(error)); });
}

LRESULT Splitter::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
            return ::DefWindowProcW(window, message, wParam, lParam);
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
