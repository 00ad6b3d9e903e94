// The list of entries: its rows, the switch to owner-drawn rows, and how the
// rows are painted.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/win32_text.h"
#include "main_window_fixture.h"
#include "ui/log_view_win32.h"
#include "ui/win32_handles.h"

namespace kestrin::test {
namespace {

using ui::RowColour;

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kYellow = 0x0000FFFF;
constexpr COLORREF kUnpainted = RGB(255, 0, 255);

// A 32-bit bitmap in a memory DC, first filled with a colour nothing paints.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.Reset(::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        old_ = ::SelectObject(dc_.Get(), bitmap_.Get());
        ui::UniqueBrush fill(::CreateSolidBrush(kUnpainted));
        const RECT all{0, 0, width, height};
        ::FillRect(dc_.Get(), &all, fill.Get());
    }
    ~Canvas() { ::SelectObject(dc_.Get(), old_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_.Get(); }
    COLORREF Pixel(int x, int y) const { return ::GetPixel(dc_.Get(), x, y); }
    bool RowHas(int top, int bottom, COLORREF colour) const {
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < width_; ++x) {
                if (Pixel(x, y) == colour) return true;
            }
        }
        return false;
    }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) pixels.push_back(Pixel(x, y));
        }
        return pixels;
    }

private:
    int width_;
    int height_;
    ui::UniqueMemoryDc dc_{::CreateCompatibleDC(nullptr)};
    ui::UniqueBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

class LogViewTest : public MainWindowTest {
protected:
    std::u16string RowText(int row) const {
        wchar_t text[256]{};
        ::SendMessageW(window.ListBox1(), LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
        return base::FromWide(text);
    }
    std::uint32_t RowData(int row) const {
        return static_cast<std::uint32_t>(::SendMessageW(window.ListBox1(), LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
    }
    int RowHeight() const { return static_cast<int>(::SendMessageW(window.ListBox1(), LB_GETITEMHEIGHT, 0, 0)); }
    // The list paints its client area into the canvas as it would on screen,
    // asking the main window to draw each row; it is drawn only while it shows.
    void PaintList(Canvas& canvas) const {
        ::ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
        ::SendMessageW(window.ListBox1(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()),
                       PRF_CLIENT | PRF_ERASEBKGND);
    }
    SIZE ListClientSize() const {
        RECT client;
        ::GetClientRect(window.ListBox1(), &client);
        return {client.right, client.bottom};
    }
};

TEST_F(LogViewTest, RowsKeepTheirTextAndColourInTheOrderAdded) {
    window.SetListOwnerDrawFixed();
    window.AddListEntry(u"Tue 08.12.2026 10:15:03 : router >>SYSDAEMON.Info<<<30>dnsmasq", kWhite);
    window.AddListEntry(u"zweite Zeile \u00E4\u00F6\u00FC", kYellow);
    window.AddListEntry(u"", kWhite);
    ASSERT_EQ(RowCount(), 3);
    EXPECT_EQ(RowText(0), u"Tue 08.12.2026 10:15:03 : router >>SYSDAEMON.Info<<<30>dnsmasq");
    EXPECT_EQ(RowText(1), u"zweite Zeile \u00E4\u00F6\u00FC");
    EXPECT_EQ(RowText(2), u"");
    EXPECT_EQ(RowData(0), kWhite);
    EXPECT_EQ(RowData(1), kYellow);
}

TEST_F(LogViewTest, AddingMovesNeitherTheViewNorTheSelection) {
    window.SetListOwnerDrawFixed();
    for (int row = 0; row < 60; ++row) window.AddListEntry(u"row", kWhite);
    ::SendMessageW(window.ListBox1(), LB_SETTOPINDEX, 10, 0);
    Select(12);
    for (int row = 0; row < 5; ++row) window.AddListEntry(u"new row", kWhite);
    EXPECT_EQ(::SendMessageW(window.ListBox1(), LB_GETTOPINDEX, 0, 0), 10);
    EXPECT_EQ(::SendMessageW(window.ListBox1(), LB_GETCURSEL, 0, 0), 12);
}

TEST_F(LogViewTest, SwitchToOwnerDrawnRowsHappensOnceInTheListsPlace) {
    const HWND systemDrawn = window.ListBox1();
    EXPECT_EQ(::GetWindowLongW(systemDrawn, GWL_STYLE) & LBS_OWNERDRAWFIXED, 0);
    window.SetListHorizontalExtent(1500);
    const RECT place = PlaceOf(systemDrawn);

    window.SetListOwnerDrawFixed();
    const HWND ownerDrawn = window.ListBox1();
    EXPECT_NE(ownerDrawn, systemDrawn);
    EXPECT_FALSE(::IsWindow(systemDrawn));
    const LONG style = ::GetWindowLongW(ownerDrawn, GWL_STYLE);
    EXPECT_EQ(style & (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS), LBS_OWNERDRAWFIXED | LBS_HASSTRINGS);
    EXPECT_EQ(style & LBS_SORT, 0);
    EXPECT_EQ(::GetDlgCtrlID(ownerDrawn), ui::kListBox1Id);
    const RECT newPlace = PlaceOf(ownerDrawn);
    EXPECT_TRUE(::EqualRect(&place, &newPlace));
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(ownerDrawn, WM_GETFONT, 0, 0)), window.Font());
    EXPECT_EQ(::SendMessageW(ownerDrawn, LB_GETHORIZONTALEXTENT, 0, 0), 1500);
    EXPECT_EQ(RowHeight(), ui::kLogRowHeight);
    // Still first in the tab order, before "&Close".
    EXPECT_EQ(::GetWindow(window.Handle(), GW_CHILD), ownerDrawn);
    EXPECT_EQ(::GetNextDlgTabItem(window.Handle(), ownerDrawn, FALSE), window.Button1());

    window.AddListEntry(u"kept", kWhite);
    window.SetListOwnerDrawFixed();
    EXPECT_EQ(window.ListBox1(), ownerDrawn);
    EXPECT_EQ(RowCount(), 1);
}

TEST_F(LogViewTest, RowsArePaintedInTheColourOfTheirPositionWithTheirOwnTextColour) {
    window.SetListOwnerDrawFixed();
    for (int row = 0; row < 6; ++row) window.AddListEntry(u"MMMM WWWW", row % 2 == 0 ? kWhite : kYellow);
    const SIZE list = ListClientSize();
    Canvas canvas(list.cx, list.cy);
    PaintList(canvas);
    const int height = RowHeight();
    for (int row = 0; row < 6; ++row) {
        const int top = row * height;
        EXPECT_EQ(canvas.Pixel(list.cx - 2, top + height / 2), RowColour(row)) << "row " << row;
        EXPECT_EQ(canvas.Pixel(list.cx - 2, top), RowColour(row)) << "row " << row;
        EXPECT_TRUE(canvas.RowHas(top, top + height, row % 2 == 0 ? kWhite : kYellow)) << "row " << row;
    }
}

TEST_F(LogViewTest, ClearAllEmptiesTheListAndTheColoursStartAgain) {
    window.SetListOwnerDrawFixed();
    window.SetListHorizontalExtent(1500);
    const HWND list = window.ListBox1();
    for (int row = 0; row < 3; ++row) window.AddListEntry(u"old", kWhite);
    window.Clearall1Click();
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(window.ListBox1(), list);
    EXPECT_EQ(::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 1500);

    window.AddListEntry(u"new", kWhite);
    window.AddListEntry(u"new", kWhite);
    const SIZE size = ListClientSize();
    Canvas canvas(size.cx, size.cy);
    PaintList(canvas);
    EXPECT_EQ(canvas.Pixel(size.cx - 2, 1), RowColour(0));
    EXPECT_EQ(canvas.Pixel(size.cx - 2, RowHeight() + 1), RowColour(1));
}

TEST_F(LogViewTest, SelectedRowLooksLikeAnyOther) {
    window.SetListOwnerDrawFixed();
    for (int row = 0; row < 4; ++row) window.AddListEntry(u"Tue 08.12.2026 10:15:03 : router", kWhite);
    const SIZE size = ListClientSize();
    Canvas unselected(size.cx, size.cy);
    PaintList(unselected);
    Select(1);
    Canvas selected(size.cx, size.cy);
    PaintList(selected);
    EXPECT_EQ(selected.Pixels(), unselected.Pixels());
}

TEST_F(LogViewTest, FocusedRowGetsTheFocusRectangle) {
    window.SetListOwnerDrawFixed();
    window.AddListEntry(u"row", kWhite);
    const int width = 200;
    const int height = RowHeight();
    const auto draw = [&](UINT state) {
        auto canvas = std::make_unique<Canvas>(width, height);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTBOX;
        item.CtlID = ui::kListBox1Id;
        item.itemID = 0;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = window.ListBox1();
        item.hDC = canvas->Dc();
        item.rcItem = {0, 0, width, height};
        item.itemData = kWhite;
        window.ListBox1DrawItem(item);
        return canvas;
    };
    const auto topEdgeInRowColour = [width](const Canvas& canvas) {
        int count = 0;
        for (int x = 0; x < width; ++x) count += canvas.Pixel(x, 0) == RowColour(0) ? 1 : 0;
        return count;
    };
    const auto plain = draw(0);
    const auto focused = draw(ODS_FOCUS | ODS_SELECTED);
    EXPECT_EQ(topEdgeInRowColour(*plain), width);
    EXPECT_LT(topEdgeInRowColour(*focused), width);
    EXPECT_EQ(focused->Pixel(width - 20, height / 2), RowColour(0));
}

}  // namespace
}  // namespace kestrin::test
