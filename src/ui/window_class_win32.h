#pragma once
// The window classes of the program's own windows.

#include <windows.h>

namespace kestrin::ui {

// A class description of this module with the name and window procedure,
// everything else zero, for the caller to complete.
WNDCLASSEXW WindowClassOf(const wchar_t* name, WNDPROC procedure);

// Registers the class unless it is registered already; throws
// EWindowCreateError when the system refuses it.
void RegisterWindowClass(const WNDCLASSEXW& windowClass);

}  // namespace kestrin::ui
