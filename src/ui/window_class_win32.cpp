#include "ui/window_class_win32.h"

#include "ui/dpi_win32.h"
#include "ui/ui_errors.h"

namespace kestrin::ui {

WNDCLASSEXW WindowClassOf(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    return windowClass;
}

void RegisterWindowClass(const WNDCLASSEXW& windowClass) {
    if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw EWindowCreateError();
    }
}

UniqueIcon LoadProgramIcon(int size, HMODULE module) {
    return UniqueIcon(static_cast<HICON>(::LoadImageW(module, L"MAINICON", IMAGE_ICON, size, size, 0)));
}

void WindowIcons::Apply(HWND window, int dpi) {
    UniqueIcon small = LoadProgramIcon(SystemMetricForDpi(SM_CXSMICON, dpi), module_);
    UniqueIcon big = LoadProgramIcon(SystemMetricForDpi(SM_CXICON, dpi), module_);
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    small_ = std::move(small);
    big_ = std::move(big);
}

}  // namespace kestrin::ui
