#pragma once
// The window layer's handles: windows, GDI objects, menus, global memory,
// hooks and icons, each in the one handle owner with its free function, and
// two scoped guards for device contexts.

#include <windows.h>

#include "base/unique_handle.h"

namespace kestrin::ui {

inline void FreeWindow(HWND window) noexcept { ::DestroyWindow(window); }
inline void FreeGdiObject(HGDIOBJ object) noexcept { ::DeleteObject(object); }
inline void FreeMenu(HMENU menu) noexcept { ::DestroyMenu(menu); }
inline void FreeGlobal(HGLOBAL memory) noexcept { ::GlobalFree(memory); }
inline void FreeHook(HHOOK hook) noexcept { ::UnhookWindowsHookEx(hook); }
inline void FreeMemoryDc(HDC dc) noexcept { ::DeleteDC(dc); }
inline void FreeIcon(HICON icon) noexcept { ::DestroyIcon(icon); }

using UniqueWindow = base::UniqueHandle<HWND, FreeWindow>;
using UniqueFont = base::UniqueHandle<HFONT, FreeGdiObject>;
using UniqueBrush = base::UniqueHandle<HBRUSH, FreeGdiObject>;
using UniqueBitmap = base::UniqueHandle<HBITMAP, FreeGdiObject>;
using UniqueMenu = base::UniqueHandle<HMENU, FreeMenu>;
using UniqueGlobal = base::UniqueHandle<HGLOBAL, FreeGlobal>;
using UniqueHook = base::UniqueHandle<HHOOK, FreeHook>;
// An icon from LoadImageW without LR_SHARED.
using UniqueIcon = base::UniqueHandle<HICON, FreeIcon>;
// A DC from CreateCompatibleDC.
using UniqueMemoryDc = base::UniqueHandle<HDC, FreeMemoryDc>;

// A window's device context from GetDC or GetDCEx, released to the window.
class WindowDc {
public:
    WindowDc(HWND window, HDC dc) noexcept : window_(window), dc_(dc) {}
    explicit WindowDc(HWND window) noexcept : WindowDc(window, ::GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A GDI object selected into a DC for one scope; the DC's former one returns at its end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (old_ != nullptr && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace kestrin::ui
