#include "ui/window_class_win32.h"

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

}  // namespace kestrin::ui
