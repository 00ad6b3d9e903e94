#pragma once
// Where the main window's controls go, computed from the numbers given
// alone (no window or system setting is asked), in Windows' own POINT, RECT
// and SIZE where a caller has them: positions and sizes at 96 DPI, scaled
// to the window's DPI. Only the list and the splitter follow the window's
// width; the others keep their distance from the left and top edges.

#include <windows.h>

namespace kestrin::ui {

// Client size and the list's first height at 96 DPI.
inline constexpr int kClientWidth = 563;
inline constexpr int kClientHeight = 256;
inline constexpr int kListHeight = 142;

struct Bounds {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

struct MainWindowLayout {
    Bounds list;
    Bounds splitter;
    // The labels are sized to their texts; only their corners are laid out.
    POINT label1;
    POINT label2;
    Bounds button1;
    Bounds button2;
};

// `listHeight` is already in pixels at `dpi`: the splitter sets it.
MainWindowLayout LayOutMainWindow(int clientWidth, int listHeight, int dpi);

// The corner that centres a window of `size` on the virtual desktop (all
// monitors together), but never left of or above the desktop's corner.
POINT CentredOnDesktop(const RECT& desktop, SIZE size);

}  // namespace kestrin::ui
