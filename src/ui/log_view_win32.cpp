#include "ui/log_view_win32.h"

#include "base/win32_text.h"
#include "ui/ui_errors.h"
#include "ui/win32_handles.h"

namespace kestrin::ui {

namespace {

constexpr DWORD kListStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

// The blue, green and ochre of rows 1 to 3.
constexpr std::uint32_t kRowColours[] = {0x00CF9030, 0x00518150, 0x004EB6CF};
// Dark slate grey, RGB(47, 79, 79).
constexpr std::uint32_t kOtherRowColour = 0x004F4F2F;

std::u16string RowText(HWND list, int index) {
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return base::FromWide(text);
}

}  // namespace

std::uint32_t RowColour(int index) {
    return index >= 1 && index <= 3 ? kRowColours[index - 1] : kOtherRowColour;
}

void DrawLogRow(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const RECT& bounds = item.rcItem;
    // Only rows have a colour; the focus of an empty list gets the list's own.
    if (item.itemID == static_cast<UINT>(-1)) {
        ::FillRect(dc, &bounds, ::GetSysColorBrush(COLOR_WINDOW));
    } else {
        const int index = static_cast<int>(item.itemID);
        const COLORREF background = RowColour(index);
        const COLORREF previousText = ::SetTextColor(dc, static_cast<COLORREF>(item.itemData));
        const COLORREF previousBackground = ::SetBkColor(dc, background);
        // The list's font, also when the caller's DC is not the list's own.
        SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
        const std::wstring text = base::Wide(RowText(item.hwndItem, index));
        // ETO_OPAQUE fills the whole row in its colour along with the text's cells.
        ::ExtTextOutW(dc, bounds.left, bounds.top, ETO_OPAQUE, &bounds, text.c_str(),
                      static_cast<UINT>(text.size()), nullptr);
        ::SetBkColor(dc, previousBackground);
        ::SetTextColor(dc, previousText);
    }
    if ((item.itemState & ODS_FOCUS) != 0) ::DrawFocusRect(dc, &bounds);
}

LogView::LogView(HWND parent, int id) : parent_(parent), id_(id) {
    list_ = Create(0, RECT{});
    SetDrawn(::IsWindowVisible(parent) != FALSE);
}

void LogView::SetDrawn(bool drawn) {
    if (drawn == drawn_) return;
    drawn_ = drawn;
    ::SendMessageW(list_, WM_SETREDRAW, drawn, 0);
    // Its scroll bars follow the rows with the drawing back on; the rows
    // themselves are painted anew.
    if (drawn) ::RedrawWindow(list_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
}

HWND LogView::Create(DWORD extraStyle, const RECT& bounds) const {
    const HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", kListStyle | extraStyle, bounds.left,
                                        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent_,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                                        ::GetModuleHandleW(nullptr), nullptr);
    if (list == nullptr) throw EWindowCreateError();
    return list;
}

void LogView::SwitchToOwnerDrawFixed(int rowHeight) {
    if (ownerDrawn_) return;
    // A list box's drawing style is fixed at its creation, so a new one takes
    // the old one's place.
    RECT bounds;
    ::GetWindowRect(list_, &bounds);
    ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&bounds), 2);
    const HWND created = Create(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, bounds);
    // Right behind the old one in the z-order, which is the tab order.
    ::SetWindowPos(created, list_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SendMessageW(created, WM_SETFONT, ::SendMessageW(list_, WM_GETFONT, 0, 0), FALSE);
    ::SendMessageW(created, LB_SETHORIZONTALEXTENT, ::SendMessageW(list_, LB_GETHORIZONTALEXTENT, 0, 0), 0);
    if (!drawn_) ::SendMessageW(created, WM_SETREDRAW, FALSE, 0);
    const bool focused = ::GetFocus() == list_;
    const HWND old = list_;
    list_ = created;
    ownerDrawn_ = true;
    ::DestroyWindow(old);
    if (focused) ::SetFocus(list_);
    SetRowHeight(rowHeight);
}

void LogView::SetRowHeight(int rowHeight) {
    if (ownerDrawn_) ::SendMessageW(list_, LB_SETITEMHEIGHT, 0, MAKELPARAM(rowHeight, 0));
}

void LogView::Add(const std::u16string& line, std::uint32_t colour) {
    const std::wstring text = base::Wide(line);
    const LRESULT index = ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index == LB_ERR || index == LB_ERRSPACE) throw EListInsertError();
    ::SendMessageW(list_, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(colour));
}

void LogView::Clear() {
    ::SendMessageW(list_, LB_RESETCONTENT, 0, 0);
}

void LogView::SetHorizontalExtent(int width) {
    // Asked for with every entry: setting it recomputes the scroll bars.
    if (::SendMessageW(list_, LB_GETHORIZONTALEXTENT, 0, 0) == width) return;
    ::SendMessageW(list_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
}

std::u16string LogView::SelectedText() const {
    if (::SendMessageW(list_, LB_GETCOUNT, 0, 0) <= 0) return {};
    const LRESULT selected = ::SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return {};
    return RowText(list_, static_cast<int>(selected));
}

}  // namespace kestrin::ui
