#pragma once
// The main window (Form1): the list of received entries with its context
// menu, the splitter below it, two labels and the "&Close" and "&About"
// buttons. It never closes or minimises on its own; it hands those requests
// to the application, which owns it through its hidden task-bar window.

#include <windows.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "core/user_view.h"
#include "ui/bound_window_win32.h"
#include "ui/close_request.h"
#include "ui/message_boxes_win32.h"
#include "ui/splitter_win32.h"
#include "ui/tray_icon_types.h"
#include "ui/win32_handles.h"
#include "ui/window_class_win32.h"

namespace kestrin::ui {

class LogView;

// Control ids of the main window's children.
inline constexpr int kListBox1Id = 101;
inline constexpr int kSplitter1Id = 102;
inline constexpr int kLabel1Id = 103;
inline constexpr int kButton1Id = 104;
inline constexpr int kButton2Id = 105;
inline constexpr int kLabel2Id = 106;

// What the main window hands to the application, which also learns of the
// boxes the window opens.
class MainWindowEvents : public BoxObserver {
public:
    virtual ~MainWindowEvents() = default;
    // "&Close", the close box, the system menu's Close and Alt+F4 (the
    // user's), and a WM_CLOSE from another program: the application runs its
    // close handling and destroys the window itself, or abandons the close.
    // The window never closes on its own.
    virtual void CloseRequested(CloseFrom from) = 0;
    // SC_MINIMIZE (minimise box, system menu): not applied to the main
    // window but passed to the application.
    virtual void MinimiseRequested() = 0;
    // An exception escaped one of the window's handlers (a window procedure
    // must never let one through): the application shows its error box.
    virtual void HandleException(std::exception_ptr error) = 0;
    // A close was asked for while a box showed and waits for its turn.
    virtual bool CloseWaiting() const { return false; }
    // The window moved, changed size, or was shown or hidden: by the
    // program, or by another one.
    virtual void PlacementChanged() {}
};

enum class WindowState : std::uint8_t { Normal, Maximised, Minimised };

// Where the keyboard goes when the window takes it: where the user left it,
// or, shown from the tray, the list.
enum class KeyboardAt : std::uint8_t { LastFocused, List };

class MainWindow final : public core::EntryList,
                         public core::FormControls,
                         private SplitterClient,
                         private BoundWindow {
public:
    // Creates the window, not shown, owned by `owner` (the application's
    // hidden task-bar window; may be null). `applicationTitle` is the
    // caption of the switch warning.
    MainWindow(HWND owner, std::u16string applicationTitle, MainWindowEvents& events);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const noexcept { return window_.Get(); }
    HWND ListBox1() const noexcept;
    HWND Splitter1() const noexcept { return splitter_->Handle(); }
    HWND Label1() const noexcept { return label1_; }
    HWND Label2() const noexcept { return label2_; }
    HWND Button1() const noexcept { return button1_; }
    HWND Button2() const noexcept { return button2_; }
    HMENU PopupMenu1() const noexcept { return popupMenu1_.Get(); }
    HFONT Font() const noexcept { return font_.Get(); }
    int Dpi() const noexcept { return dpi_; }
    WindowState State() const noexcept { return state_; }

    // The handlers, public so tests can call them as a user's click would.
    void Button1Click();
    void Button2Click();
    void N3Click();
    void Clearall1Click();
    // Throws when the clipboard cannot be had; through the window procedure
    // the error reaches MainWindowEvents::HandleException.
    void Copyline1Click();
    void ListBox1DrawItem(const DRAWITEMSTRUCT& item) const;
    // The tray icon's click and double click, whatever the button: the
    // window shown, normal and in front. Which window then gets the
    // foreground is the application's choice (TakeKeyboard).
    void JvTrayIcon1Click(const TrayClick& click);
    void JvTrayIcon1DblClick(const TrayClick& click);

    // Shows the window in its normal state; the first time centred on the
    // desktop, later where it was.
    void ShowNormal();
    // The window, shown, becomes the foreground window with the keyboard.
    void TakeKeyboard(KeyboardAt at = KeyboardAt::LastFocused);

    // Hides the window and sets its state to minimised.
    void HideAndMinimise();

    // core::EntryList
    void SetListOwnerDrawFixed() override;
    void AddListEntry(const std::u16string& line, std::uint32_t colour) override;
    void SetListHorizontalExtent(int width) override;

    // core::FormControls
    void SetBalloonSwitch(bool ticked) override;
    bool BalloonSwitch() const override;
    void SetSwitchSummary(const std::u16string& text) override;
    void SetPublicAddress(const std::u16string& text) override;
    bool ShowSwitchWarning(const std::u16string& text) override;

private:
    // BoundWindow
    void Attached(HWND window) noexcept override { window_.Reset(window); }
    void Detached() noexcept override { window_.Release(); }
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void MessageFailed(std::exception_ptr error) noexcept override { ReportException(std::move(error)); }

    // Keeps the keyboard focus in the control that had it when the window was
    // last active, the list the first time.
    void Activated(WPARAM state);
    void HandleCommand(UINT id);
    void ShowPopupMenu1(HWND clicked, LPARAM screenPoint);
    void CreateControls();
    HWND CreateControl(const wchar_t* className, const wchar_t* text, DWORD style, int id);
    // Font, row height and window size for `dpi`; the list keeps its share.
    void ApplyDpi(int dpi);
    void LayOut();
    void SizeLabelToText(HWND label) const;
    void SetLabelText(HWND label, const std::u16string& text);
    // Centred on the desktop before the window is first shown.
    void PlaceFirstTime();
    void ShowFromTray();
    void ReportException(std::exception_ptr error) noexcept;

    // SplitterClient
    int LimitListHeight(int proposed) override;
    void ListHeightChosen(int height) override;
    void SplitterFailed(std::exception_ptr error) override;

    std::u16string applicationTitle_;
    MainWindowEvents& events_;
    int dpi_ = 96;
    // The list's height in pixels at dpi_.
    int listHeight_ = 0;
    WindowState state_ = WindowState::Normal;
    bool placed_ = false;
    // The control with the keyboard focus when the window was last deactivated.
    HWND focused_ = nullptr;
    WindowIcons icons_;
    UniqueFont font_;
    UniqueMenu popupMenu1_;
    std::unique_ptr<LogView> logView_;
    std::unique_ptr<Splitter> splitter_;
    HWND label1_ = nullptr;
    HWND button1_ = nullptr;
    HWND button2_ = nullptr;
    HWND label2_ = nullptr;
    // Last, so it goes first: the window's last messages still find the members above.
    UniqueWindow window_;
};

}  // namespace kestrin::ui
