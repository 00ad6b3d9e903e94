// The main window as the application and the user see it: its frame and
// controls, the requests it hands over instead of acting on them, resizing,
// DPI changes, the splitter, and its message boxes.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/exception.h"
#include "base/version.h"
#include "main_window_fixture.h"
#include "message_box_watch.h"
#include "ui/dpi_win32.h"
#include "ui/log_view_win32.h"
#include "ui/main_window_layout.h"
#include "ui/popup_menu_win32.h"
#include "ui/ui_texts.h"
#include "ui/wide_text.h"

namespace kestrin::test {
namespace {

bool SamePlace(const RECT& place, int x, int y, int width, int height) {
    return place.left == x && place.top == y && place.right - place.left == width && place.bottom - place.top == height;
}

int Height(const RECT& place) { return place.bottom - place.top; }
int Width(const RECT& place) { return place.right - place.left; }

TEST_F(MainWindowTest, FrameCaptionAndFont) {
    EXPECT_EQ(ui::WindowText(window.Handle()), u"Kestrin " KESTRIN_VERSION " \u00A9 2026 The Kestrin developers");
    const LONG style = ::GetWindowLongW(window.Handle(), GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(::GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    EXPECT_FALSE(::IsWindowVisible(window.Handle()));
    EXPECT_EQ(ClientSize().cx, 563);
    EXPECT_EQ(ClientSize().cy, 256);
    EXPECT_EQ(::GetClassLongPtrW(window.Handle(), GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);

    LOGFONTW font{};
    ASSERT_NE(::GetObjectW(window.Font(), sizeof font, &font), 0);
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"Tahoma");
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    for (const HWND control : {window.ListBox1(), window.Label1(), window.Button1(), window.Button2(), window.Label2()}) {
        EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), window.Font());
    }
}

TEST_F(MainWindowTest, OwnedByTheTaskBarWindow) {
    ui::UniqueWindow owner(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    ui::MainWindow owned(owner.Get(), u"Kestrin", events);
    EXPECT_EQ(::GetWindow(owned.Handle(), GW_OWNER), owner.Get());
}

TEST_F(MainWindowTest, ControlsStartInTheirPlacesAndTabOrder) {
    EXPECT_TRUE(SamePlace(PlaceOf(window.ListBox1()), 0, 0, 563, 142));
    EXPECT_TRUE(SamePlace(PlaceOf(window.Splitter1()), 0, 142, 563, 3));
    EXPECT_TRUE(SamePlace(PlaceOf(window.Button1()), 447, 216, 75, 25));
    EXPECT_TRUE(SamePlace(PlaceOf(window.Button2()), 280, 218, 75, 25));
    EXPECT_EQ(ui::WindowText(window.Button1()), u"&Close");
    EXPECT_EQ(ui::WindowText(window.Button2()), u"&About");
    EXPECT_EQ(ui::WindowText(window.Label1()), u"");
    EXPECT_EQ(Width(PlaceOf(window.Label1())), 0);

    const HWND list = window.ListBox1();
    const LONG listStyle = ::GetWindowLongW(list, GWL_STYLE);
    EXPECT_EQ(listStyle & (LBS_NOTIFY | LBS_NOINTEGRALHEIGHT), LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
    EXPECT_EQ(listStyle & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED), 0);
    EXPECT_EQ(::GetNextDlgTabItem(window.Handle(), list, FALSE), window.Button1());
    EXPECT_EQ(::GetNextDlgTabItem(window.Handle(), window.Button1(), FALSE), window.Button2());
    EXPECT_EQ(::GetNextDlgTabItem(window.Handle(), window.Button2(), FALSE), list);
}

TEST_F(MainWindowTest, ScrollBarsAppearWhenNeeded) {
    const auto scrollBars = [this] { return ::GetWindowLongW(window.ListBox1(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL); };
    EXPECT_EQ(scrollBars(), 0);
    window.SetListOwnerDrawFixed();
    window.SetListHorizontalExtent(1500);
    for (int row = 0; row < 30; ++row) window.AddListEntry(u"row", 0x00FFFFFF);
    // Added while the window is hidden: the bars come once it shows.
    ::ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(scrollBars(), WS_VSCROLL | WS_HSCROLL);
}

TEST_F(MainWindowTest, LabelsShowTheirTextsSizedToThem) {
    window.SetSwitchSummary(u"Error: ON Warnings: ON Infos: OFF");
    window.SetPublicAddress(u"203.0.113.7");
    EXPECT_EQ(ui::WindowText(window.Label1()), u"Error: ON Warnings: ON Infos: OFF");
    EXPECT_EQ(ui::WindowText(window.Label2()), u"203.0.113.7");
    const RECT summary = PlaceOf(window.Label1());
    EXPECT_EQ(summary.left, 8);
    EXPECT_EQ(summary.top, 152);
    EXPECT_GT(Width(summary), 100);
    EXPECT_GE(Height(summary), 11);
    EXPECT_EQ(PlaceOf(window.Label2()).top, 223);

    window.SetSwitchSummary(u"Error: ON");
    const RECT shorter = PlaceOf(window.Label1());
    EXPECT_LT(Width(shorter), Width(summary));
    EXPECT_EQ(shorter.left, 8);
}

TEST_F(MainWindowTest, BalloonSwitchIsTheTickOfN3) {
    EXPECT_TRUE(window.BalloonSwitch());
    EXPECT_TRUE(ui::MenuItemChecked(window.PopupMenu1(), ui::kN3Id));
    window.N3Click();
    EXPECT_FALSE(window.BalloonSwitch());
    EXPECT_FALSE(ui::MenuItemChecked(window.PopupMenu1(), ui::kN3Id));
    ::SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(ui::kN3Id, 0), 0);
    EXPECT_TRUE(window.BalloonSwitch());
    window.SetBalloonSwitch(false);
    EXPECT_FALSE(window.BalloonSwitch());
    EXPECT_TRUE(events.closeRequests.empty());
    EXPECT_EQ(events.minimiseRequests, 0);
}

// Catches the popup menus this thread opens while it lives: records which
// menu and where, and ends the menu as soon as it waits for the user.
class PopupMenuWatch {
public:
    PopupMenuWatch() : hook_(::SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId())) {
        active_ = this;
    }
    ~PopupMenuWatch() { active_ = nullptr; }
    PopupMenuWatch(const PopupMenuWatch&) = delete;
    PopupMenuWatch& operator=(const PopupMenuWatch&) = delete;

    HMENU menu = nullptr;
    RECT bounds{};

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && active_ != nullptr) {
            if (call.message == WM_INITMENUPOPUP) active_->menu = reinterpret_cast<HMENU>(call.wParam);
            if (call.message == WM_ENTERIDLE && call.wParam == MSGF_MENU) {
                ::GetWindowRect(reinterpret_cast<HWND>(call.lParam), &active_->bounds);
                ::EndMenu();
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline thread_local PopupMenuWatch* active_ = nullptr;
    ui::UniqueHook hook_;
};

TEST_F(MainWindowTest, RightClickInTheListOpensPopupMenu1AtTheMouseAndKeepsTheSelection) {
    window.SetListOwnerDrawFixed();
    for (int row = 0; row < 4; ++row) window.AddListEntry(u"row", 0x00FFFFFF);
    Select(0);
    const POINT click{40, 2 * ui::kLogRowHeight + 5};
    POINT screen = click;
    ::ClientToScreen(window.ListBox1(), &screen);

    PopupMenuWatch watch;
    ::SendMessageW(window.ListBox1(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(click.x, click.y));
    ::SendMessageW(window.ListBox1(), WM_RBUTTONUP, 0, MAKELPARAM(click.x, click.y));
    EXPECT_EQ(watch.menu, window.PopupMenu1());
    EXPECT_EQ(watch.bounds.left, screen.x);
    EXPECT_EQ(watch.bounds.top, screen.y);
    EXPECT_EQ(::SendMessageW(window.ListBox1(), LB_GETCURSEL, 0, 0), 0);
}

TEST_F(MainWindowTest, EveryWayToCloseOnlyAsksTheApplication) {
    // Another program's WM_CLOSE is told apart from the user's own commands.
    ::SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    ::SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ::SendMessageW(window.Button1(), BM_CLICK, 0, 0);
    EXPECT_EQ(events.closeRequests,
              (std::vector<ui::CloseFrom>{ui::CloseFrom::MainWindow, ui::CloseFrom::User, ui::CloseFrom::User}));
    EXPECT_TRUE(::IsWindow(window.Handle()));
}

TEST_F(MainWindowTest, MinimiseIsHandedToTheApplication) {
    ::SendMessageW(window.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_EQ(events.minimiseRequests, 1);
    EXPECT_FALSE(::IsIconic(window.Handle()));
}

TEST_F(MainWindowTest, FirstShownCentredOnTheDesktopThenWhereItWas) {
    window.ShowNormal();
    EXPECT_TRUE(::IsWindowVisible(window.Handle()));
    EXPECT_EQ(window.State(), ui::WindowState::Normal);
    RECT bounds;
    ::GetWindowRect(window.Handle(), &bounds);
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const POINT centred = ui::CentredOnDesktop(
        {left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN), top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)},
        {Width(bounds), Height(bounds)});
    EXPECT_EQ(bounds.left, centred.x);
    EXPECT_EQ(bounds.top, centred.y);

    ::SetWindowPos(window.Handle(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    window.HideAndMinimise();
    EXPECT_FALSE(::IsWindowVisible(window.Handle()));
    EXPECT_EQ(window.State(), ui::WindowState::Minimised);
    window.ShowNormal();
    EXPECT_TRUE(::IsWindowVisible(window.Handle()));
    EXPECT_EQ(window.State(), ui::WindowState::Normal);
    ::GetWindowRect(window.Handle(), &bounds);
    EXPECT_EQ(bounds.left, 30);
    EXPECT_EQ(bounds.top, 40);
}

TEST_F(MainWindowTest, OnlyTheListAndTheSplitterFollowTheWidth) {
    window.SetSwitchSummary(u"Error: ON Warnings: ON Infos: OFF");
    const RECT label = PlaceOf(window.Label1());
    RECT bounds;
    ::GetWindowRect(window.Handle(), &bounds);
    ::SetWindowPos(window.Handle(), nullptr, 0, 0, Width(bounds) + 200, Height(bounds) + 100,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(ClientSize().cx, 763);
    EXPECT_TRUE(SamePlace(PlaceOf(window.ListBox1()), 0, 0, 763, 142));
    EXPECT_TRUE(SamePlace(PlaceOf(window.Splitter1()), 0, 142, 763, 3));
    EXPECT_TRUE(SamePlace(PlaceOf(window.Button1()), 447, 216, 75, 25));
    EXPECT_TRUE(SamePlace(PlaceOf(window.Button2()), 280, 218, 75, 25));
    const RECT labelNow = PlaceOf(window.Label1());
    EXPECT_TRUE(::EqualRect(&label, &labelNow));
}

TEST_F(MainWindowTest, DpiChangeScalesLayoutFontAndRows) {
    window.SetListOwnerDrawFixed();
    window.SetSwitchSummary(u"Error: ON Warnings: ON Infos: OFF");
    const int narrowLabel = Width(PlaceOf(window.Label1()));
    const HFONT oldFont = window.Font();
    const auto style = static_cast<DWORD>(::GetWindowLongW(window.Handle(), GWL_STYLE));
    const SIZE size = ui::WindowSizeForClient({845, 384}, style, 0, 144);
    RECT suggested{100, 100, 100 + size.cx, 100 + size.cy};
    ::SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));

    EXPECT_EQ(window.Dpi(), 144);
    LOGFONTW font{};
    ASSERT_NE(::GetObjectW(window.Font(), sizeof font, &font), 0);
    EXPECT_EQ(font.lfHeight, -16);
    EXPECT_NE(window.Font(), oldFont);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(window.Button1(), WM_GETFONT, 0, 0)), window.Font());
    EXPECT_EQ(::SendMessageW(window.ListBox1(), LB_GETITEMHEIGHT, 0, 0), 20);
    EXPECT_EQ(Height(PlaceOf(window.ListBox1())), 213);
    EXPECT_EQ(PlaceOf(window.Splitter1()).top, 213);
    EXPECT_EQ(Height(PlaceOf(window.Splitter1())), 5);
    EXPECT_TRUE(SamePlace(PlaceOf(window.Button1()), 671, 324, 113, 38));
    EXPECT_TRUE(SamePlace(PlaceOf(window.Button2()), 420, 327, 113, 38));
    const RECT label = PlaceOf(window.Label1());
    EXPECT_EQ(label.left, 12);
    EXPECT_EQ(label.top, 228);
    EXPECT_GT(Width(label), narrowLabel);
}

class SplitterTest : public MainWindowTest {
protected:
    // Takes the splitter 1 pixel below its top edge and lets go `by` pixels lower.
    void Drag(int by) {
        const HWND splitter = window.Splitter1();
        ::SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
        ::SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, static_cast<WORD>(static_cast<short>(1 + by / 2))));
        ::SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, static_cast<WORD>(static_cast<short>(1 + by))));
        ::SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(10, static_cast<WORD>(static_cast<short>(1 + by))));
    }
    int ListHeight() const { return Height(PlaceOf(window.ListBox1())); }
};

TEST_F(SplitterTest, DragGivesTheListItsNewHeightWithinItsLimits) {
    Drag(-42);
    EXPECT_EQ(ListHeight(), 100);
    EXPECT_EQ(PlaceOf(window.Splitter1()).top, 100);
    EXPECT_EQ(::GetCapture(), nullptr);

    Drag(500);
    EXPECT_EQ(ListHeight(), 256 - 33);

    Drag(-(256 - 33) + 31);
    EXPECT_EQ(ListHeight(), 31);
    Drag(-1);
    EXPECT_EQ(ListHeight(), 0);
    EXPECT_EQ(PlaceOf(window.Splitter1()).top, 0);

    // From collapsed it comes back.
    Drag(80);
    EXPECT_EQ(ListHeight(), 80);
    // The fixed controls stayed.
    EXPECT_TRUE(SamePlace(PlaceOf(window.Button1()), 447, 216, 75, 25));
}

TEST_F(SplitterTest, LostMouseCaptureAbandonsTheDrag) {
    const HWND splitter = window.Splitter1();
    ::SendMessageW(splitter, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 1));
    ::SendMessageW(splitter, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, static_cast<WORD>(static_cast<short>(-60))));
    ::ReleaseCapture();
    ::SendMessageW(splitter, WM_LBUTTONUP, 0, MAKELPARAM(10, static_cast<WORD>(static_cast<short>(-60))));
    EXPECT_EQ(ListHeight(), 142);
}

TEST_F(MainWindowTest, AboutBoxShowsTheMakerNotice) {
    MessageBoxWatch watch;
    ::SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(ui::kButton2Id, BN_CLICKED), 0);
    ASSERT_EQ(watch.Seen().size(), 1u);
    const SeenMessageBox& box = watch.Seen()[0];
    EXPECT_EQ(box.caption, ui::kMakerNotice);
    EXPECT_EQ(box.text, ui::kAboutText);
    EXPECT_EQ(box.owner, window.Handle());
    EXPECT_FALSE(box.icon);
    EXPECT_FALSE(box.cancelButton);
}

TEST_F(MainWindowTest, SwitchWarningIsCentredOnTheScreenWithTheApplicationTitle) {
    MessageBoxWatch watch;
    window.ShowSwitchWarning(u"Warnings and Errors are not listed, are you sure?");
    ASSERT_EQ(watch.Seen().size(), 1u);
    const SeenMessageBox& box = watch.Seen()[0];
    EXPECT_EQ(box.caption, u"Kestrin");
    EXPECT_EQ(box.text, u"Warnings and Errors are not listed, are you sure?");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_FALSE(box.icon);
    EXPECT_FALSE(box.cancelButton);
    EXPECT_NEAR((box.bounds.left + box.bounds.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((box.bounds.top + box.bounds.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    // The thread's windows were disabled only while it was open.
    EXPECT_TRUE(::IsWindowEnabled(window.Handle()));
}

TEST_F(MainWindowTest, ErrorBoxShowsTheErrorWithAStopIcon) {
    MessageBoxWatch watch;
    const auto error = std::make_exception_ptr(base::Exception(u"Datei fehlt"));
    ui::ShowErrorBox(window.Handle(), u"Kestrin", error);
    ASSERT_EQ(watch.Seen().size(), 1u);
    const SeenMessageBox& box = watch.Seen()[0];
    EXPECT_EQ(box.caption, u"Kestrin");
    EXPECT_EQ(box.text, base::ErrorBoxText(error));
    EXPECT_EQ(box.owner, window.Handle());
    EXPECT_TRUE(box.icon);
}

}  // namespace
}  // namespace kestrin::test
