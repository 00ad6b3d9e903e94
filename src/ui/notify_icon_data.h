#pragma once
// The one notify-icon data record every Shell_NotifyIconW call of the tray
// icon passes, in the shell's version 5 layout, and the values it carries.

#include <windows.h>

#include <cstddef>
#include <shellapi.h>

namespace kestrin::ui {

// The shell's NOTIFYICONDATAW up to dwInfoFlags: what shells from version
// 5.0 on read.
struct TNotifyIconDataXP {
    DWORD cbSize;
    HWND Wnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    WCHAR szTip[128];
    DWORD dwState;
    DWORD dwStateMask;
    WCHAR szInfo[256];
    // The version of the version request, or a balloon's display time in milliseconds.
    UINT uTimeOut;
    WCHAR szInfoTitle[64];
    DWORD dwInfoFlags;
};

#if defined(_WIN64)
static_assert(sizeof(TNotifyIconDataXP) == 952);
#endif
// Field for field where the shell looks for it.
static_assert(offsetof(TNotifyIconDataXP, Wnd) == offsetof(NOTIFYICONDATAW, hWnd));
static_assert(offsetof(TNotifyIconDataXP, hIcon) == offsetof(NOTIFYICONDATAW, hIcon));
static_assert(offsetof(TNotifyIconDataXP, szTip) == offsetof(NOTIFYICONDATAW, szTip));
static_assert(offsetof(TNotifyIconDataXP, szInfo) == offsetof(NOTIFYICONDATAW, szInfo));
static_assert(offsetof(TNotifyIconDataXP, uTimeOut) == offsetof(NOTIFYICONDATAW, uTimeout));
static_assert(offsetof(TNotifyIconDataXP, szInfoTitle) == offsetof(NOTIFYICONDATAW, szInfoTitle));
static_assert(offsetof(TNotifyIconDataXP, dwInfoFlags) == offsetof(NOTIFYICONDATAW, dwInfoFlags));

inline constexpr UINT kTrayIconId = 1;
// The message the shell reports mouse and balloon events on the icon with.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 1;
// NOTIFYICON_VERSION: what the version request asks for.
inline constexpr UINT kTrayIconVersion = 3;

// Longest texts the record's fields take, without their terminating zero.
inline constexpr std::size_t kMaxInfoLength = 255;
inline constexpr std::size_t kMaxInfoTitleLength = 63;

}  // namespace kestrin::ui
