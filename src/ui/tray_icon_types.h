#pragma once
// What a click on the tray icon reports.

#include <cstdint>

namespace kestrin::ui {

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
