#pragma once
// Every size of the window is given in pixels at 96 DPI and scaled to the
// DPI of the monitor the window is on. The functions that need Windows 10 are
// looked up at run time, so the program still starts on older systems.

#include <windows.h>

namespace kestrin::ui {

inline constexpr int kDefaultDpi = 96;

// numerator * multiplier / divisor, rounded half away from zero as MulDiv does.
constexpr int MulDivRounded(int numerator, int multiplier, int divisor) {
    const long long product = static_cast<long long>(numerator) * multiplier;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

// A length given at 96 DPI, at `dpi`.
constexpr int Scale(int pixelsAt96, int dpi) { return MulDivRounded(pixelsAt96, dpi, kDefaultDpi); }

// lfHeight of a font of `points` at `dpi`: negative, so it is the character height.
constexpr int FontHeight(int points, int dpi) { return -MulDivRounded(points, dpi, 72); }

// GetDpiForWindow where the system has it, else 96.
int WindowDpi(HWND window);

// A system metric, such as an icon size, at `dpi` where the system has
// GetSystemMetricsForDpi; else at the system's DPI, as GetSystemMetrics gives it.
int SystemMetricForDpi(int index, int dpi);

// The outer size of a window whose client area is `client` at `dpi`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

}  // namespace kestrin::ui
