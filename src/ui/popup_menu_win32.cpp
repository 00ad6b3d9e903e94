#include "ui/popup_menu_win32.h"

#include "ui/ui_errors.h"

namespace kestrin::ui {

UniqueMenu CreatePopupMenu1() {
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) throw EResourcesExhausted();
    const HMENU m = menu.Get();
    const bool built = ::AppendMenuW(m, MF_STRING, kClearall1Id, L"&Clear all") &&
                       ::AppendMenuW(m, MF_SEPARATOR, 0, nullptr) &&  // N1
                       ::AppendMenuW(m, MF_STRING, kCopyline1Id, L"Cop&y line") &&
                       ::AppendMenuW(m, MF_SEPARATOR, 0, nullptr) &&  // N2
                       ::AppendMenuW(m, MF_STRING | MF_CHECKED, kN3Id, L"View hints for new entries");
    if (!built) throw EResourcesExhausted();
    return menu;
}

bool MenuItemChecked(HMENU menu, UINT id) {
    const UINT state = ::GetMenuState(menu, id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void SetMenuItemChecked(HMENU menu, UINT id, bool checked) {
    ::CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace kestrin::ui
