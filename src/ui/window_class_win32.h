#pragma once
// The window classes of the program's own windows, and the program icon
// they show.

#include <windows.h>

#include "ui/win32_handles.h"

namespace kestrin::ui {

// The command of a WM_SYSCOMMAND: its wParam's low four bits are the system's own.
constexpr UINT SystemCommand(WPARAM wParam) { return static_cast<UINT>(wParam & 0xFFF0); }

// A class description of this module with the name and window procedure,
// everything else zero, for the caller to complete.
WNDCLASSEXW WindowClassOf(const wchar_t* name, WNDPROC procedure);

// Registers the class unless it is registered already; throws
// EWindowCreateError when the system refuses it.
void RegisterWindowClass(const WNDCLASSEXW& windowClass);

// The program icon (the resource MAINICON of `module`) at `size` pixels
// square, from the image drawn for that size where it has one; empty in a
// module without it.
UniqueIcon LoadProgramIcon(int size, HMODULE module = ::GetModuleHandleW(nullptr));

// A window's program icons at its DPI: the small one for its caption and
// task-bar button, the big one for Alt+Tab. The window shows them until it
// is destroyed, so the object must outlive the window.
class WindowIcons {
public:
    // From the program's own resources unless a test names another module.
    explicit WindowIcons(HMODULE module = ::GetModuleHandleW(nullptr)) noexcept : module_(module) {}

    // Loads both for `dpi` and gives them to `window`; the ones it had go after.
    void Apply(HWND window, int dpi);

private:
    HMODULE module_;
    UniqueIcon small_;
    UniqueIcon big_;
};

}  // namespace kestrin::ui
