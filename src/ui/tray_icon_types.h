#pragma once
// The tray icon's options, state flags and what a click on it reports.

#include <cstdint>

namespace kestrin::ui {

// Bits of the visibility option set.
enum TTrayVisibility : std::uint16_t {
    tvVisibleTaskBar = 1u << 0,
    tvVisibleTaskList = 1u << 1,
    tvAutoHide = 1u << 2,
    tvAutoHideIcon = 1u << 3,
    tvVisibleDesign = 1u << 4,
    tvRestoreClick = 1u << 5,
    tvRestoreDbClick = 1u << 6,
    tvMinimizeClick = 1u << 7,
    tvMinimizeDbClick = 1u << 8,
    tvAnimateToTray = 1u << 9,
    tvNoRetryOnFailure = 1u << 10,
};

// Everything but tvVisibleTaskBar: the program starts hidden in the tray.
inline constexpr std::uint16_t kProgramVisibility = 0x7FE;

// Bits of the state flag set.
enum TJvTrayIconState : std::uint8_t {
    tisTrayIconVisible = 1u << 0,
    tisAnimating = 1u << 1,
    tisHooked = 1u << 2,
    tisHintChanged = 1u << 3,
    tisWaitingForDoubleClick = 1u << 4,
    tisAppHiddenButNotMinimized = 1u << 5,
    tisClicked = 1u << 6,
};

enum TMouseButton : std::uint8_t { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Bits of the shift state.
enum TShiftState : std::uint8_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
};

// A click on the icon: the button, the shift state and the cursor's screen
// position when the button came up.
struct TrayClick {
    TMouseButton button = mbLeft;
    std::uint8_t shift = 0;
    int x = 0;
    int y = 0;
};

}  // namespace kestrin::ui
