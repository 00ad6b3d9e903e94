#pragma once
// Owners of the Win32 handles the window layer creates: each frees its handle
// exactly once, so no early return or exception leaks a window, a GDI object,
// a menu, global memory, a hook or an icon.

#include <windows.h>

#include <utility>

namespace kestrin::ui {

template <typename Handle, auto Free>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }
    // Gives up ownership without freeing, for a handle someone else now owns.
    Handle Release() noexcept { return std::exchange(handle_, nullptr); }
    void Reset(Handle handle = nullptr) noexcept {
        if (Handle old = std::exchange(handle_, handle); old != nullptr) Free(old);
    }

private:
    Handle handle_ = nullptr;
};

inline void FreeWindow(HWND window) noexcept { ::DestroyWindow(window); }
inline void FreeGdiObject(HGDIOBJ object) noexcept { ::DeleteObject(object); }
inline void FreeMenu(HMENU menu) noexcept { ::DestroyMenu(menu); }
inline void FreeGlobal(HGLOBAL memory) noexcept { ::GlobalFree(memory); }
inline void FreeHook(HHOOK hook) noexcept { ::UnhookWindowsHookEx(hook); }
inline void FreeMemoryDc(HDC dc) noexcept { ::DeleteDC(dc); }
inline void FreeIcon(HICON icon) noexcept { ::DestroyIcon(icon); }

using UniqueWindow = UniqueHandle<HWND, FreeWindow>;
using UniqueFont = UniqueHandle<HFONT, FreeGdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, FreeGdiObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, FreeGdiObject>;
using UniqueMenu = UniqueHandle<HMENU, FreeMenu>;
using UniqueGlobal = UniqueHandle<HGLOBAL, FreeGlobal>;
using UniqueHook = UniqueHandle<HHOOK, FreeHook>;
// An icon from LoadImageW without LR_SHARED.
using UniqueIcon = UniqueHandle<HICON, FreeIcon>;
// A DC from CreateCompatibleDC.
using UniqueMemoryDc = UniqueHandle<HDC, FreeMemoryDc>;

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
