#pragma once
// The list's context menu (PopupMenu1) and its command ids.

#include <windows.h>

#include "ui/win32_handles.h"

namespace kestrin::ui {

// Command ids of the menu items; above IDOK and IDCANCEL, which the dialog
// keyboard handling sends for Enter and Escape.
inline constexpr UINT kClearall1Id = 201;
inline constexpr UINT kCopyline1Id = 202;
inline constexpr UINT kN3Id = 203;

// "&Clear all", separator, "Cop&y line", separator, and the ticked check
// item "View hints for new entries".
UniqueMenu CreatePopupMenu1();

bool MenuItemChecked(HMENU menu, UINT id);
void SetMenuItemChecked(HMENU menu, UINT id, bool checked);

}  // namespace kestrin::ui
