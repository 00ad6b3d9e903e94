#pragma once
// The main window's list of received entries (ListBox1): a system list box,
// later switched to owner-drawn rows whose background follows the row's
// position and whose text colour is the row's own.

#include <windows.h>

#include <cstdint>
#include <string>

namespace kestrin::ui {

// Row height of the owner-drawn list at 96 DPI.
inline constexpr int kLogRowHeight = 13;

// The background of the row at `index` (0x00BBGGRR): rows 1 to 3 blue, green
// and ochre, all others a dark slate that white text stays readable on.
std::uint32_t RowColour(int index);

// Draws one row of the owner-drawn list into item.hDC: its background, its
// text from the rectangle's very corner in the row's text colour, and the
// focus rectangle. A selected row looks like any other.
void DrawLogRow(const DRAWITEMSTRUCT& item);

class LogView {
public:
    // Creates the list box as a child of `parent` with control id `id`.
    LogView(HWND parent, int id);
    LogView(const LogView&) = delete;
    LogView& operator=(const LogView&) = delete;
    // The list box is a child window: it goes with its parent.
    ~LogView() = default;

    HWND Handle() const noexcept { return list_; }
    bool OwnerDrawn() const noexcept { return ownerDrawn_; }

    // The first call creates the list anew with owner-drawn rows of fixed
    // height `rowHeight`, in the old one's place (position, size, font, tab
    // order, horizontal extent); the rows do not survive. Later calls do nothing.
    void SwitchToOwnerDrawFixed(int rowHeight);
    void SetRowHeight(int rowHeight);

    // Appends a row with its text colour; throws EListInsertError when the
    // list refuses it. The visible rows and the selection stay.
    void Add(const std::u16string& line, std::uint32_t colour);
    void Clear();
    void SetHorizontalExtent(int width);
    // Drawn only while the user can see it: a hidden list box still
    // recomputes its scroll bars and invalidates itself for every row added,
    // which costs as much as the rest of an entry. Back on, it is drawn whole.
    void SetDrawn(bool drawn);
    // The selected row's text; empty when there is none.
    std::u16string SelectedText() const;

private:
    HWND Create(DWORD extraStyle, const RECT& bounds) const;

    HWND parent_;
    int id_;
    HWND list_ = nullptr;
    bool ownerDrawn_ = false;
    bool drawn_ = true;
};

}  // namespace kestrin::ui
