#include "ui/main_window_layout.h"

#include "ui/dpi_win32.h"
#include "ui/splitter_win32.h"

namespace kestrin::ui {

namespace {

Bounds Scaled(int x, int y, int width, int height, int dpi) {
    return {Scale(x, dpi), Scale(y, dpi), Scale(width, dpi), Scale(height, dpi)};
}

int Centred(int start, int extent, int size) {
    const int corner = start + (extent - size) / 2;
    return corner < start ? start : corner;
}

}  // namespace

MainWindowLayout LayOutMainWindow(int clientWidth, int listHeight, int dpi) {
    MainWindowLayout layout;
    layout.list = {0, 0, clientWidth, listHeight};
    layout.splitter = {0, listHeight, clientWidth, Scale(kSplitterHeight, dpi)};
    layout.label1 = {Scale(8, dpi), Scale(152, dpi)};
    layout.label2 = {Scale(8, dpi), Scale(223, dpi)};
    layout.button1 = Scaled(447, 216, 75, 25, dpi);
    layout.button2 = Scaled(280, 218, 75, 25, dpi);
    return layout;
}

POINT CentredOnDesktop(const RECT& desktop, SIZE size) {
    return {Centred(desktop.left, desktop.right - desktop.left, size.cx),
            Centred(desktop.top, desktop.bottom - desktop.top, size.cy)};
}

}  // namespace kestrin::ui
