#include "ui/main_window_win32.h"

#include <windowsx.h>

#include "base/exception.h"
#include "base/win32_text.h"
#include "ui/clipboard_win32.h"
#include "ui/dpi_win32.h"
#include "ui/log_view_win32.h"
#include "ui/main_window_layout.h"
#include "ui/popup_menu_win32.h"
#include "ui/ui_errors.h"
#include "ui/window_class_win32.h"
#include "ui/ui_texts.h"
#include "ui/wide_text.h"

namespace kestrin::ui {

namespace {

constexpr wchar_t kMainWindowClass[] = L"KestrinMainWindow";
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kMainWindowExStyle = 0;
constexpr int kFontPoints = 8;

void RegisterMainWindowClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass = WindowClassOf(kMainWindowClass, procedure);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterWindowClass(windowClass);
}

UniqueFont CreateUiFont(int dpi) {
    UniqueFont font(::CreateFontW(FontHeight(kFontPoints, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
    if (!font) throw EResourcesExhausted();
    return font;
}

void Place(HWND control, const Bounds& bounds) {
    ::SetWindowPos(control, nullptr, bounds.x, bounds.y, bounds.width, bounds.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

MainWindow::MainWindow(HWND owner, std::u16string applicationTitle, MainWindowEvents& events)
    : applicationTitle_(std::move(applicationTitle)), events_(events) {
    RegisterMainWindowClass(&BoundWindow::Procedure);
    // No WS_EX_APPWINDOW: the owner carries the program's task-bar button.
    const HWND window = CreateBound(kMainWindowExStyle, kMainWindowClass, base::Wide(MainWindowCaption()).c_str(),
                                    kMainWindowStyle, 0, 0, 0, 0, owner, nullptr);
    if (window == nullptr) throw EWindowCreateError();
    dpi_ = WindowDpi(window);
    icons_.Apply(window, dpi_);
    listHeight_ = Scale(kListHeight, dpi_);
    font_ = CreateUiFont(dpi_);
    popupMenu1_ = CreatePopupMenu1();
    CreateControls();
    const SIZE size =
        WindowSizeForClient({Scale(kClientWidth, dpi_), Scale(kClientHeight, dpi_)}, kMainWindowStyle,
                            kMainWindowExStyle, dpi_);
    ::SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
}

MainWindow::~MainWindow() {
    // Explicitly first: the window's last messages still find every member.
    window_.Reset();
}

HWND MainWindow::CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, int id) {
    const HWND control = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                           window_.Get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                           ::GetModuleHandleW(nullptr), nullptr);
    if (control == nullptr) throw EWindowCreateError();
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return control;
}

void MainWindow::CreateControls() {
    // Creation order is the z-order and so the tab order: the list, "&Close", "&About".
    logView_ = std::make_unique<LogView>(window_.Get(), kListBox1Id);
    ::SendMessageW(logView_->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    splitter_ = std::make_unique<Splitter>(window_.Get(), kSplitter1Id, static_cast<SplitterClient&>(*this));
    // The labels show data, so an "&" in it is no mnemonic.
    label1_ = CreateControl(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel1Id);
    button1_ = CreateControl(L"BUTTON", L"&Close", BS_PUSHBUTTON | WS_TABSTOP, kButton1Id);
    button2_ = CreateControl(L"BUTTON", L"&About", BS_PUSHBUTTON | WS_TABSTOP, kButton2Id);
    label2_ = CreateControl(L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX, kLabel2Id);
}

HWND MainWindow::ListBox1() const noexcept {
    return logView_->Handle();
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Until its controls exist the window gets the default handling.
    if (logView_ == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_COMMAND:
            // Clicks and menu commands both come with code 0 (BN_CLICKED).
            if (HIWORD(wParam) == BN_CLICKED) HandleCommand(LOWORD(wParam));
            return 0;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) != ListBox1()) break;
            ShowPopupMenu1(ListBox1(), lParam);
            return 0;
        case WM_MEASUREITEM: {
            auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (item.CtlID != kListBox1Id) break;
            item.itemHeight = static_cast<UINT>(Scale(kLogRowHeight, dpi_));
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID != kListBox1Id) break;
            ListBox1DrawItem(item);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC: {
            const auto dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_SIZE:
            // The state as the user left it, so a click on the icon brings a
            // maximised window back normal.
            if (wParam == SIZE_MAXIMIZED) state_ = WindowState::Maximised;
            if (wParam == SIZE_RESTORED && state_ == WindowState::Maximised) state_ = WindowState::Normal;
            if (wParam != SIZE_MINIMIZED) LayOut();
            return 0;
        case WM_DPICHANGED: {
            ApplyDpi(LOWORD(wParam));
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                           suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
            // The size may not have changed, the font has.
            LayOut();
            return 0;
        }
        case WM_SYSCOMMAND:
            if (SystemCommand(wParam) == SC_MINIMIZE) {
                events_.MinimiseRequested();
                return 0;
            }
            // The close box, the system menu and Alt+F4: the user's own, told
            // apart from another program's WM_CLOSE.
            if (SystemCommand(wParam) == SC_CLOSE) {
                events_.CloseRequested(CloseFrom::User);
                return 0;
            }
            break;
        case WM_CLOSE:
            events_.CloseRequested(CloseFrom::MainWindow);
            return 0;
        case WM_WINDOWPOSCHANGED:
            logView_->SetDrawn(::IsWindowVisible(window) && !::IsIconic(window));
            events_.PlacementChanged();
            break;
        case WM_ACTIVATE:
            Activated(wParam);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void MainWindow::HandleCommand(UINT id) {
    switch (id) {
        case kButton1Id: Button1Click(); break;
        case kButton2Id: Button2Click(); break;
        case kClearall1Id: Clearall1Click(); break;
        case kCopyline1Id: Copyline1Click(); break;
        case kN3Id: N3Click(); break;
        default: break;
    }
}

void MainWindow::ShowPopupMenu1(HWND clicked, LPARAM screenPoint) {
    POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    // From the keyboard (Shift+F10, the menu key) there is no mouse position.
    if (screenPoint == -1) {
        at = {0, 0};
        ::ClientToScreen(clicked, &at);
    }
    ::TrackPopupMenu(popupMenu1_.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                     window_.Get(), nullptr);
}

void MainWindow::ApplyDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    listHeight_ = MulDivRounded(listHeight_, dpi, dpi_);
    dpi_ = dpi;
    icons_.Apply(window_.Get(), dpi_);
    UniqueFont font = CreateUiFont(dpi_);
    for (const HWND control : {ListBox1(), label1_, button1_, button2_, label2_}) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    }
    // The old font goes only now that no control uses it any more.
    font_ = std::move(font);
    logView_->SetRowHeight(Scale(kLogRowHeight, dpi_));
}

void MainWindow::LayOut() {
    RECT client;
    ::GetClientRect(window_.Get(), &client);
    const MainWindowLayout layout = LayOutMainWindow(client.right, listHeight_, dpi_);
    Place(ListBox1(), layout.list);
    Place(splitter_->Handle(), layout.splitter);
    Place(button1_, layout.button1);
    Place(button2_, layout.button2);
    ::SetWindowPos(label1_, nullptr, layout.label1.x, layout.label1.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(label2_, nullptr, layout.label2.x, layout.label2.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SizeLabelToText(label1_);
    SizeLabelToText(label2_);
}

void MainWindow::SizeLabelToText(HWND label) const {
    const std::wstring text = base::Wide(WindowText(label));
    WindowDc dc(label);
    SelectedObject font(dc.Get(), font_.Get());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    ::SetWindowPos(label, nullptr, 0, 0, extent.cx, metrics.tmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetLabelText(HWND label, const std::u16string& text) {
    ::SetWindowTextW(label, base::Wide(text).c_str());
    SizeLabelToText(label);
}

int MainWindow::LimitListHeight(int proposed) {
    RECT client;
    ::GetClientRect(window_.Get(), &client);
    return SplitterListHeight(proposed, client.bottom, dpi_);
}

void MainWindow::ListHeightChosen(int height) {
    listHeight_ = height;
    LayOut();
}

void MainWindow::SplitterFailed(std::exception_ptr error) {
    ReportException(std::move(error));
}

void MainWindow::ReportException(std::exception_ptr error) noexcept {
    // Called from window procedures: nothing may cross the system's frames.
    base::Quietly([&] { events_.HandleException(std::move(error)); });
}

void MainWindow::Button1Click() {
    events_.CloseRequested(CloseFrom::User);
}

void MainWindow::Button2Click() {
    ShowAboutBox(window_.Get(), &events_);
}

void MainWindow::N3Click() {
    SetBalloonSwitch(!BalloonSwitch());
}

void MainWindow::Clearall1Click() {
    logView_->Clear();
}

void MainWindow::Copyline1Click() {
    const std::u16string line = logView_->SelectedText();
    if (line.empty()) return;
    ReplaceClipboardText(window_.Get(), line);
}

void MainWindow::ListBox1DrawItem(const DRAWITEMSTRUCT& item) const {
    DrawLogRow(item);
}

void MainWindow::PlaceFirstTime() {
    if (placed_) return;
    const HWND window = window_.Get();
    RECT bounds;
    ::GetWindowRect(window, &bounds);
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT desktop{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const POINT corner = CentredOnDesktop(desktop, {bounds.right - bounds.left, bounds.bottom - bounds.top});
    ::SetWindowPos(window, nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = true;
}

void MainWindow::ShowNormal() {
    PlaceFirstTime();
    ::ShowWindow(window_.Get(), SW_SHOWNORMAL);
    state_ = WindowState::Normal;
}

void MainWindow::ShowFromTray() {
    PlaceFirstTime();
    // Visible, and above the application's other windows.
    ::SetWindowPos(window_.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    if (state_ != WindowState::Normal) ShowNormal();
}

void MainWindow::TakeKeyboard(KeyboardAt at) {
    const HWND window = window_.Get();
    if (at == KeyboardAt::List) focused_ = ListBox1();
    ::SetForegroundWindow(window);
    if (::GetActiveWindow() != window) return;
    ::SetFocus(focused_ != nullptr && ::IsWindow(focused_) ? focused_ : ListBox1());
}

void MainWindow::Activated(WPARAM state) {
    const HWND window = window_.Get();
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window, focus)) focused_ = focus;
        return;
    }
    // Minimised windows take no focus of their own.
    if (HIWORD(state) != 0) return;
    const HWND target = focused_ != nullptr && ::IsWindow(focused_) ? focused_ : ListBox1();
    ::SetFocus(target);
}

void MainWindow::JvTrayIcon1Click(const TrayClick&) {
    ShowFromTray();
}

void MainWindow::JvTrayIcon1DblClick(const TrayClick&) {
    ShowFromTray();
}

void MainWindow::SetListOwnerDrawFixed() {
    logView_->SwitchToOwnerDrawFixed(Scale(kLogRowHeight, dpi_));
}

void MainWindow::AddListEntry(const std::u16string& line, std::uint32_t colour) {
    logView_->Add(line, colour);
}

bool MainWindow::BalloonSwitch() const {
    return MenuItemChecked(popupMenu1_.Get(), kN3Id);
}

void MainWindow::SetListHorizontalExtent(int width) {
    logView_->SetHorizontalExtent(width);
}

void MainWindow::SetBalloonSwitch(bool ticked) {
    SetMenuItemChecked(popupMenu1_.Get(), kN3Id, ticked);
}

void MainWindow::SetSwitchSummary(const std::u16string& text) {
    SetLabelText(label1_, text);
}

void MainWindow::SetPublicAddress(const std::u16string& text) {
    SetLabelText(label2_, text);
}

bool MainWindow::ShowSwitchWarning(const std::u16string& text) {
    ShowScreenCentredMessage(applicationTitle_, text, &events_);
    return !events_.CloseWaiting();
}

void MainWindow::HideAndMinimise() {
    ::ShowWindow(window_.Get(), SW_HIDE);
    state_ = WindowState::Minimised;
}

}  // namespace kestrin::ui
