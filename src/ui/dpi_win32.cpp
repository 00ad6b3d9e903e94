#include "ui/dpi_win32.h"

#include <bit>

namespace kestrin::ui {

namespace {

FARPROC User32Function(const char* name) {
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 != nullptr ? ::GetProcAddress(user32, name) : nullptr;
}

}  // namespace

int WindowDpi(HWND window) {
    // Windows 10 1607 and later.
    using GetDpiForWindowFunction = UINT WINAPI(HWND);
    static const auto getDpiForWindow = std::bit_cast<GetDpiForWindowFunction*>(User32Function("GetDpiForWindow"));
    if (getDpiForWindow == nullptr) return kDefaultDpi;
    const UINT dpi = getDpiForWindow(window);
    return dpi != 0 ? static_cast<int>(dpi) : kDefaultDpi;
}

int SystemMetricForDpi(int index, int dpi) {
    // Windows 10 1607 and later.
    using GetMetricForDpiFunction = int WINAPI(int, UINT);
    static const auto getMetricForDpi =
        std::bit_cast<GetMetricForDpiFunction*>(User32Function("GetSystemMetricsForDpi"));
    return getMetricForDpi != nullptr ? getMetricForDpi(index, static_cast<UINT>(dpi)) : ::GetSystemMetrics(index);
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) {
    RECT bounds{0, 0, client.cx, client.cy};
    // Windows 10 1607 and later; before, frames do not depend on the window's DPI.
    using AdjustForDpiFunction = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = std::bit_cast<AdjustForDpiFunction*>(User32Function("AdjustWindowRectExForDpi"));
    if (adjustForDpi != nullptr) {
        adjustForDpi(&bounds, style, FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        ::AdjustWindowRectEx(&bounds, style, FALSE, exStyle);
    }
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

}  // namespace kestrin::ui
