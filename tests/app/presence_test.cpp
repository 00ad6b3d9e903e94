// The application, its task-bar window, main window and tray icon as a user's
// clicks, minimises, restores and closes leave them, step after step: which
// windows show, whether the task-bar button shows, whether the icon stays,
// which window has the keyboard, whether the program still runs. Real
// windows; the shell is recorded. Under Wine the program runs in a desktop
// of its own, so the foreground window is its alone.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/application_win32.h"
#include "files/scratch_directory.h"
#include "ui/message_box_watch.h"
#include "ui/popup_menu_win32.h"
#include "support/icon_width_win32.h"
#include "support/other_program.h"
#include "ui/dpi_win32.h"
#include "ui/recording_tray_shell.h"

namespace kestrin::test {
namespace {

// Another program holding config.cfg open without sharing: no write gets
// through, whoever runs the test.
class LockedFile : public OtherProgramHold {
public:
    explicit LockedFile(const std::filesystem::path& path) : OtherProgramHold(path, kExclusive) {}
};

class PresenceTest : public ::testing::Test {
protected:
    ScratchDirectory directory;
    RecordingTrayShell shell;
    MessageBoxWatch boxes;
    std::unique_ptr<app::Application> application;

    void SetUp() override {
        WriteSettings(false);
        Start();
    }

    // Nothing listens on port 9 of the loopback address. Without ERROR and
    // WARNING, start-up shows the switch warning.
    void WriteSettings(bool switchWarning) {
        WriteBytes(directory.Path() / "config.cfg",
                   std::string("[Main]\r\nPort=0\r\n") + (switchWarning ? "" : "ERROR=1\r\nWARNING=1\r\n") +
                       "IP1=http://127.0.0.1:9/\r\nIP2=http://127.0.0.1:9/\r\n");
    }

    void Start() {
        application = std::make_unique<app::Application>(::GetModuleHandleW(nullptr), directory.AsProgramDirectory(),
                                                          shell);
        application->ProcessMessages();
    }

    ui::TJvTrayIcon& Tray() { return application->JvTrayIcon1(); }
    HWND Main() { return application->MainWindow().Handle(); }
    HWND Taskbar() { return application->TaskbarWindow(); }
    HWND Notification() { return Tray().NotificationWindowHandle(); }

    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        ::PostMessageW(window, message, wParam, lParam);
        application->ProcessMessages();
    }
    void Icon(UINT mouseMessage) { Post(Notification(), ui::kTrayCallbackMessage, ui::kTrayIconId, mouseMessage); }
    // The shell's messages for a click; the click counts once the double-click time is over.
    void Click(UINT down, UINT up) {
        Icon(down);
        Icon(up);
        Post(Notification(), WM_TIMER, ui::kClickTimerId, 0);
    }
    void LeftClick() { Click(WM_LBUTTONDOWN, WM_LBUTTONUP); }
    void RightClick() { Click(WM_RBUTTONDOWN, WM_RBUTTONUP); }
    void MiddleClick() { Click(WM_MBUTTONDOWN, WM_MBUTTONUP); }
    void DoubleClick() {
        Icon(WM_LBUTTONDOWN);
        Icon(WM_LBUTTONUP);
        Icon(WM_LBUTTONDBLCLK);
        Icon(WM_LBUTTONUP);
    }
    void MinimiseByCaption() { Post(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }
    void MinimiseByTaskbarButton() { Post(Taskbar(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }
    void Restore() { Post(Taskbar(), WM_SYSCOMMAND, SC_RESTORE, 0); }
    // The task-bar button of a program not in front, or Alt+Tab to it.
    void ActivateTaskbar() {
        ::SetForegroundWindow(Taskbar());
        application->ProcessMessages();
    }
    void OpenAbout() { Post(Main(), WM_COMMAND, ui::kButton2Id, 0); }
    // What taskkill sends: WM_CLOSE to every top-level window of the program.
    void CloseEveryWindow() {
        for (const HWND window : {Main(), Taskbar(), Notification()}) ::PostMessageW(window, WM_CLOSE, 0, 0);
        application->ProcessMessages();
    }
    // Takes the quit the close posted, so the next application starts afresh.
    bool QuitPosted() {
        MSG message;
        return ::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }

    void ExpectShown() {
        EXPECT_TRUE(::IsWindowVisible(Main()));
        EXPECT_FALSE(::IsIconic(Main()));
        EXPECT_EQ(application->MainWindow().State(), ui::WindowState::Normal);
        EXPECT_TRUE(::IsWindowVisible(Taskbar()));
        EXPECT_FALSE(::IsIconic(Taskbar()));
    }
    void ExpectInTheTray() {
        EXPECT_FALSE(::IsWindowVisible(Main()));
        EXPECT_FALSE(::IsWindowVisible(Taskbar()));
        EXPECT_TRUE(Tray().IconVisible());
    }
    void ExpectKeyboardIn(HWND control) {
        EXPECT_EQ(::GetForegroundWindow(), Main());
        EXPECT_EQ(::GetFocus(), control);
    }
};

TEST_F(PresenceTest, StartsInTheTrayWithOnlyItsIconWhichHasNoTooltip) {
    ExpectInTheTray();
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_ADD, NIM_SETVERSION}));
    EXPECT_EQ(std::wstring(shell.calls[0].data.szTip), L"");
    EXPECT_EQ(application->MainWindow().State(), ui::WindowState::Minimised);
}

TEST_F(PresenceTest, ALeftClickShowsTheWindowOnlyOnceTheDoubleClickTimeIsOverAndRemovesTheIcon) {
    shell.calls.clear();
    Icon(WM_LBUTTONDOWN);
    Icon(WM_LBUTTONUP);
    EXPECT_FALSE(::IsWindowVisible(Main()));
    Post(Notification(), WM_TIMER, ui::kClickTimerId, 0);
    ExpectShown();
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_DELETE}));
    // No icon, so entries raise no balloon.
    shell.calls.clear();
    application->JvTrayIcon1().BalloonHint(u"Kestrin", u"entry", core::btError, 5000, false);
    EXPECT_TRUE(shell.calls.empty());
    MinimiseByCaption();
    ExpectInTheTray();
    EXPECT_EQ(application->MainWindow().State(), ui::WindowState::Minimised);
}

TEST_F(PresenceTest, ADoubleClickShowsTheWindowAtOnceAndTheIconStaysForBalloons) {
    shell.calls.clear();
    DoubleClick();
    ExpectShown();
    EXPECT_TRUE(Tray().IconVisible());
    EXPECT_TRUE(shell.calls.empty());
    application->JvTrayIcon1().BalloonHint(u"Kestrin", u"entry", core::btError, 5000, false);
    Post(Notification(), WM_TIMER, ui::kBalloonSendTimerId, 0);
    EXPECT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_MODIFY}));
}

// Fault: the task-bar window came back un-minimised while the application
// still thought itself minimised, so the next minimise did nothing and the
// following left click hid the window again at once.
TEST_F(PresenceTest, ALeftClickOpensTheWindowAfterAMinimiseFromAWindowOpenedWithTheIconKept) {
    LeftClick();
    MinimiseByCaption();
    RightClick();
    ExpectShown();
    EXPECT_TRUE(Tray().IconVisible());
    MinimiseByCaption();
    ExpectInTheTray();
    LeftClick();
    ExpectShown();
    EXPECT_FALSE(Tray().IconVisible());
    // And the same through the task-bar button and a double click.
    MinimiseByTaskbarButton();
    DoubleClick();
    MinimiseByTaskbarButton();
    ExpectInTheTray();
    LeftClick();
    ExpectShown();
}

// Fault: the invisible task-bar window kept the foreground, so the keys did
// nothing until the user clicked into the window.
TEST_F(PresenceTest, AWindowShownFromTheTrayHasTheKeyboardInItsListAndTheTaskbarWindowPassesActivationOn) {
    LeftClick();
    ExpectKeyboardIn(application->MainWindow().ListBox1());
    MinimiseByCaption();
    DoubleClick();
    ExpectKeyboardIn(application->MainWindow().ListBox1());

    // The user moved on to "&About"; the task-bar button brings it back there.
    ::SetFocus(application->MainWindow().Button2());
    ::SetForegroundWindow(Taskbar());
    application->ProcessMessages();
    ExpectKeyboardIn(application->MainWindow().Button2());
}

// Fault: taskkill's WM_CLOSE destroyed the notification window, and with it
// the icon, while the close itself was abandoned; a second request during
// the error box started a second close.
TEST_F(PresenceTest, AnAbandonedCloseKeepsTheIconAndOneErrorBoxAndTheNextRequestTriesAgain) {
    shell.calls.clear();
    {
        LockedFile locked(directory.Path() / "config.cfg");
        CloseEveryWindow();
    }
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_NE(boxes.Seen()[0].text.find(u"kann nicht geschrieben werden"), std::u16string::npos);
    EXPECT_FALSE(QuitPosted());
    EXPECT_TRUE(::IsWindow(Notification()));
    ExpectInTheTray();
    EXPECT_TRUE(shell.calls.empty());
    // Still reachable from the icon.
    LeftClick();
    ExpectShown();

    Post(Notification(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(boxes.Seen().size(), 1u);
    EXPECT_FALSE(::IsWindowVisible(Main()));
    EXPECT_NE(ReadBytes(directory.Path() / "config.cfg").find("ViewHint=0"), std::string::npos);
}

// Another program's window, on a thread of its own: it can take the
// foreground from the program and get it back when a box of the program goes.
class OtherProgram {
public:
    OtherProgram() {
        std::promise<HWND> created;
        auto window = created.get_future();
        thread_ = std::thread([this, &created] { Run(created); });
        window_ = window.get();
    }
    ~OtherProgram() {
        ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    HWND Handle() const { return window_; }
    // The user turns to it. Its thread takes the activation in its own time;
    // the message sent after the activation returns once it has.
    void TakeForeground() const {
        ::SetForegroundWindow(window_);
        Settle();
    }
    // Returns once its thread has taken what was sent to it before, an
    // activation handed on to it among them.
    void Settle() const { ::SendMessageW(window_, WM_NULL, 0, 0); }

private:
    void Run(std::promise<HWND>& created) {
        threadId_ = ::GetCurrentThreadId();
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"KestrinTestOtherProgram";
        ::RegisterClassExW(&windowClass);
        ui::UniqueWindow window(::CreateWindowExW(0, windowClass.lpszClassName, L"Other program",
                                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                                                  nullptr, windowClass.hInstance, nullptr));
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for the quit
        created.set_value(window.Get());
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    }

    DWORD threadId_ = 0;
    HWND window_ = nullptr;
    std::thread thread_;
};

bool OfTheProgram(HWND window) {
    return ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

// Fault: after a refused close from the tray, the hidden task-bar window kept
// the foreground and typing went nowhere.
TEST_F(PresenceTest, ARefusedCloseFromTheTrayGivesTheKeyboardBackToTheProgramInFront) {
    OtherProgram other;
    other.TakeForeground();
    boxes.WhenShown([](HWND box) { ::PostMessageW(box, WM_COMMAND, IDOK, 0); });
    {
        LockedFile locked(directory.Path() / "config.cfg");
        CloseEveryWindow();
    }
    ASSERT_EQ(boxes.Seen().size(), 1u);
    other.Settle();
    EXPECT_EQ(::GetForegroundWindow(), other.Handle());
    ExpectInTheTray();
}

// Fault: the task-bar button gave the foreground to the task-bar window instead
// of the About box, a second click sent the program into the tray with the box
// left alone on screen, and its OK left the hidden window with the keyboard.
TEST_F(PresenceTest, UnderTheAboutBoxTheTaskbarButtonBringsTheBoxAndAMinimiseWaitsForIt) {
    LeftClick();
    boxes.WhenShown([this](HWND box) {
        ActivateTaskbar();
        EXPECT_EQ(::GetForegroundWindow(), box);
        MinimiseByTaskbarButton();
        EXPECT_TRUE(::IsWindowVisible(box));
        ExpectShown();
        EXPECT_EQ(::GetForegroundWindow(), box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    OpenAbout();
    ASSERT_EQ(boxes.Seen().size(), 1u);
    ExpectInTheTray();
    const HWND foreground = ::GetForegroundWindow();
    EXPECT_TRUE(foreground == nullptr || !OfTheProgram(foreground) || ::IsWindowVisible(foreground));
}

// Fault: the close was carried out under the switch warning, and start-up then
// went on: icon, address lookup, and a process that would not end.
TEST_F(PresenceTest, ACloseUnderTheSwitchWarningEndsStartUpThere) {
    application.reset();
    WriteSettings(true);
    shell.calls.clear();
    // taskkill: WM_CLOSE to every top-level window, the box first.
    boxes.WhenShown([](HWND box) {
        ::PostMessageW(box, WM_CLOSE, 0, 0);
        ::PostMessageW(::FindWindowW(L"KestrinApplication", nullptr), WM_CLOSE, 0, 0);
    });
    Start();
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(shell.Count(NIM_ADD), 0u);
    EXPECT_NE(ReadBytes(directory.Path() / "config.cfg").find("ViewHint=0"), std::string::npos);
}

// Fault: a request that reached the program while the error box of a refused
// close showed was dropped when its messages came before the box's own.
TEST_F(PresenceTest, ACloseRequestUnderTheErrorBoxGivesExactlyOneNewAttemptWhateverItsOrder) {
    for (const bool boxFirst : {true, false}) {
        SCOPED_TRACE(boxFirst ? "the box's message first" : "the windows' messages first");
        const std::size_t before = boxes.Seen().size();
        bool again = false;
        boxes.WhenShown([&](HWND box) {
            if (std::exchange(again, true)) {
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            if (boxFirst) ::PostMessageW(box, WM_CLOSE, 0, 0);
            for (const HWND window : {Main(), Taskbar(), Notification()}) ::PostMessageW(window, WM_CLOSE, 0, 0);
            if (!boxFirst) ::PostMessageW(box, WM_CLOSE, 0, 0);
        });
        {
            LockedFile locked(directory.Path() / "config.cfg");
            CloseEveryWindow();
        }
        EXPECT_EQ(boxes.Seen().size() - before, 2u);
        EXPECT_FALSE(QuitPosted());
        ExpectInTheTray();
    }
}

// Fault: a maximised window stayed maximised when the icon brought it up.
TEST_F(PresenceTest, AClickOnTheIconBringsAMaximisedWindowBackNormal) {
    RightClick();
    ::ShowWindow(Main(), SW_MAXIMIZE);
    application->ProcessMessages();
    RightClick();
    EXPECT_FALSE(::IsZoomed(Main()));
    ExpectShown();
}

// Fault: a change of scale gave the tray the icon of the window's scale,
// not the one the message carries.
TEST_F(PresenceTest, AChangeOfScaleGivesTheTrayIconOfTheNewSize) {
    shell.calls.clear();
    RECT suggested{0, 0, 0, 0};
    ::SendMessageW(Taskbar(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    ASSERT_EQ(shell.Messages(), (std::vector<DWORD>{NIM_MODIFY}));
    EXPECT_EQ(IconWidth(shell.Last().data.hIcon), ui::SystemMetricForDpi(SM_CXSMICON, 144));
}

// Where the keyboard must be, as the user expects it.
enum class Keyboard { Main, Box, Other, Any };

// What the user must see, kept step by step beside the real program: the
// presence moved by the program's own rule (app::After) through the events
// each step makes, and what lies outside it (the keyboard, the open box, the
// end).
struct Expected {
    app::Presence presence;
    Keyboard keyboard = Keyboard::Any;
    // The open box, whether it is a failed close's, and where the keyboard
    // was when it was asked for.
    HWND box = nullptr;
    bool boxOfClose = false;
    Keyboard beforeBox = Keyboard::Any;
    // The close goes through: the program ends.
    bool ends = false;
};

// A seeded random walk of user events over the real program, boxes included:
// each box is walked from inside its own modal loop until a step closes it.
class PresenceWalkTest : public PresenceTest {
protected:
    enum Event {
        kLeft, kDouble, kRight, kMiddle, kCaption, kTaskbarButton, kTaskbarActivate, kRestore, kOutside,
        kClose, kTaskbarCreated, kSessionEnd, kRestartManager, kRefusedIcon, kOtherProgram, kAbout, kBalloonSwitch,
        kOk, kEscape, kEvents
    };
    static constexpr const char* kNames[] = {
        "left click", "double click", "right click", "middle click", "minimise by caption",
        "minimise by task-bar button", "task-bar button activates", "restore", "from outside", "close",
        "TaskbarCreated", "session end", "Restart Manager", "icon refused", "another program in front", "About",
        "balloon switch", "OK on the box", "Escape on the box"};
    static constexpr int kSteps = 1000;

    std::mt19937 random;
    Expected expected;
    int steps = 0;
    std::string where;
    std::optional<LockedFile> locked;
    OtherProgram other;
    bool starting = false;
    bool closedAtStart = false;
    // taskkill's messages still on their way, however late.
    std::vector<HWND> lateCloses;

    void SetUp() override {
        PresenceTest::SetUp();
        expected.presence = app::After({}, app::PresenceEvent::HideApplication);
        boxes.WhenShown([this](HWND box) { BoxShown(box); });
    }

    app::Scene Scene() const { return app::SceneOf(expected.presence); }
    // Wanted and not given up: the shell took it.
    bool IconExpected() const { return Scene().icon && !expected.presence.iconGivenUp; }

    // The program's own rule takes the event. A close that starts an
    // attempt ends the program, or with config.cfg locked opens the error box.
    void Apply(app::PresenceEvent event) {
        const bool attempting = expected.presence.closing;
        expected.presence = app::After(expected.presence, event);
        if (attempting || !expected.presence.closing) return;
        expected.ends = !locked;
        expected.beforeBox = expected.keyboard;
    }

    // After an event the user made, the keyboard goes where the scene says.
    void Activated() {
        const app::Foreground foreground = Scene().foreground;
        expected.keyboard = foreground == app::Foreground::Box          ? Keyboard::Box
                            : foreground == app::Foreground::MainWindow ? Keyboard::Main
                                                                        : Keyboard::Any;
    }
    void UserEvent(app::PresenceEvent event) {
        Apply(event);
        Activated();
    }

    void Walk() {
        while (steps < kSteps && !HasFailure()) {
            if (!Step()) continue;
            if (QuitPosted()) {
                ASSERT_TRUE(expected.ends) << where;
                Restart();
            } else {
                ASSERT_FALSE(expected.ends) << where;
            }
            Check();
        }
    }

    bool Possible(Event event) const {
        const bool box = expected.box != nullptr;
        const bool window = Scene().window;
        switch (event) {
            case kLeft: case kDouble: case kRight: case kMiddle: return IconExpected();
            case kCaption: case kAbout: return window && !box;
            case kRefusedIcon: return window && !IconExpected() && !box;
            case kTaskbarButton: case kTaskbarActivate: return window;
            case kRestore: return !box || window;
            case kOk: case kEscape: return box;
            default: return true;
        }
    }

    // One event the user can reach now; false when the one drawn is out of reach.
    bool Step() {
        if (!lateCloses.empty() && random() % 2 == 0) PostLateClose();
        const auto event = static_cast<Event>(random() % kEvents);
        if (!Possible(event)) return false;
        // The step and the few before it, for the message of a failure.
        const std::string step =
            std::to_string(steps++) + ": " + kNames[event] + (expected.box != nullptr ? " (box)" : "");
        where = step + (where.empty() ? "" : ", after " + where.substr(0, 160));
        Do(event);
        return true;
    }

    void Do(Event event) {
        using app::PresenceEvent;
        switch (event) {
            case kLeft:
            case kDouble:
            case kRight:
            case kMiddle:
                UserEvent(app::ClickEvent(event == kRight ? ui::mbRight : event == kMiddle ? ui::mbMiddle : ui::mbLeft,
                                          event == kDouble));
                event == kLeft ? LeftClick() : event == kDouble ? DoubleClick() : event == kRight ? RightClick()
                                                                                                : MiddleClick();
                break;
            case kCaption:
            case kTaskbarButton:
                UserEvent(PresenceEvent::Minimise);
                event == kCaption ? MinimiseByCaption() : MinimiseByTaskbarButton();
                break;
            case kOutside:
                Outside();
                break;
            case kTaskbarActivate:
                Activated();
                ActivateTaskbar();
                break;
            case kRestore:
                // Also the click on the button that stands in for a refused icon.
                UserEvent(PresenceEvent::Restore);
                Restore();
                break;
            case kClose:
                Close();
                break;
            case kTaskbarCreated:
                Apply(PresenceEvent::ShellRestarted);
                Post(Notification(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
                break;
            case kSessionEnd:
            case kRestartManager: {
                // The tick survives the end of the session, and an installer's
                // close (ENDSESSION_CLOSEAPP), which ends the program, under a
                // box too; a resumed session has its icon back.
                const bool tick = application->MainWindow().BalloonSwitch();
                const bool restart = event == kRestartManager;
                expected.ends = restart;
                if (!restart) Apply(PresenceEvent::SessionEnding);
                Post(Notification(), WM_ENDSESSION, TRUE, restart ? ENDSESSION_CLOSEAPP : 0);
                ASSERT_TRUE(restart || !Tray().IconVisible()) << where;
                if (!locked) {
                    ASSERT_NE(ReadBytes(directory.Path() / "config.cfg").find(tick ? "ViewHint=1" : "ViewHint=0"),
                              std::string::npos)
                        << where;
                }
                if (restart) break;
                Apply(PresenceEvent::SessionResumed);
                Post(Notification(), WM_ENDSESSION, FALSE, 0);
                break;
            }
            case kRefusedIcon: {
                // The shell refuses the icon, and goes on refusing it for a
                // while, or for the whole time it is asked again.
                shell.refused = {NIM_ADD, NIM_MODIFY};
                UserEvent(PresenceEvent::Minimise);
                MinimiseByTaskbarButton();
                ASSERT_FALSE(Tray().IconVisible()) << where;
                const bool givenUp = random() % 2 == 0;
                for (int i = 1; i < ui::kIconRetries; ++i) RetryIcon();
                if (!givenUp) shell.refused.clear();
                if (givenUp) Apply(PresenceEvent::IconGivenUp);
                RetryIcon();
                shell.refused.clear();
                break;
            }
            case kOtherProgram:
                expected.keyboard = Keyboard::Other;
                other.TakeForeground();
                application->ProcessMessages();
                break;
            case kAbout:
                expected.beforeBox = expected.keyboard;
                OpenAbout();
                break;
            case kBalloonSwitch:
                Post(Main(), WM_COMMAND, ui::kN3Id, 0);
                break;
            case kOk:
            case kEscape: {
                const HWND closing = expected.box;
                BoxGoes();
                Post(closing, WM_COMMAND, event == kOk ? IDOK : IDCANCEL, 0);
                break;
            }
            case kEvents:
                break;
        }
    }

    void RetryIcon() { Post(Notification(), WM_TIMER, ui::kIconRetryTimerId, 0); }

    // One of the windows, minimised, restored or hidden by another program
    // past its system commands (Win+M, the task manager, a script). A window
    // taken off the screen is a minimise, one brought onto it a restore;
    // where nothing the program shows changes (a hidden window hidden, the
    // button standing in for the icon minimised), nothing happens.
    void Outside() {
        const bool main = random() % 2 == 0;
        constexpr int kCommands[] = {SW_MINIMIZE, SW_SHOWMINNOACTIVE, SW_HIDE, SW_RESTORE};
        const int command = kCommands[random() % 4];
        const app::Scene scene = Scene();
        const bool standIn = scene.taskbarButton && !scene.window;
        if (command == SW_RESTORE) {
            if (!scene.window) UserEvent(app::PresenceEvent::Restore);
        } else if (!(command == SW_HIDE && !scene.window) && !(!main && standIn && command != SW_HIDE)) {
            UserEvent(app::PresenceEvent::Minimise);
        }
        ::ShowWindow(main ? Main() : Taskbar(), command);
        application->ProcessMessages();
    }

    app::PresenceEvent CloseAt(HWND window) {
        if (window == Main()) return app::PresenceEvent::CloseAtMainWindow;
        if (window == Taskbar()) return app::PresenceEvent::CloseAtTaskbarWindow;
        return app::PresenceEvent::CloseAtNotificationWindow;
    }

    // taskkill may be slow to post its messages: they arrive some steps late.
    void PostLateClose() {
        const HWND window = lateCloses.front();
        lateCloses.erase(lateCloses.begin());
        Apply(CloseAt(window));
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        application->ProcessMessages();
    }

    void Close() {
        // One taskkill's messages all come before the next request's.
        while (!lateCloses.empty()) PostLateClose();
        locked.reset();
        if (random() % 4 != 0) locked.emplace(directory.Path() / "config.cfg");
        const bool everyWindow = random() % 2 == 0;
        // The user's own close (the close box, Alt+F4) is a request each time.
        const auto single = [this] {
            Apply(app::PresenceEvent::CloseRequested);
            Post(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
        };
        if (!everyWindow) {
            single();
            return;
        }
        if (expected.box == nullptr) {
            // The first of taskkill's messages starts the attempt; the others
            // come under its box, after it, or a while later.
            lateCloses = {Main(), Taskbar(), Notification()};
            std::shuffle(lateCloses.begin(), lateCloses.end(), random);
            PostLateClose();
            return;
        }
        // Under a box the request waits for it; taskkill's message to the box closes it.
        std::vector<HWND> targets{Main(), Taskbar(), Notification(), expected.box};
        std::shuffle(targets.begin(), targets.end(), random);
        for (const HWND window : targets) {
            if (window != expected.box) Apply(CloseAt(window));
        }
        BoxGoes();
        for (const HWND window : targets) ::PostMessageW(window, WM_CLOSE, 0, 0);
        application->ProcessMessages();
    }

    // The open box is about to close: what follows once it has. A close that
    // waited for it is tried then.
    void BoxGoes() {
        expected.box = nullptr;
        Apply(app::PresenceEvent::BoxClosed);
        if (std::exchange(expected.boxOfClose, false)) Apply(app::PresenceEvent::CloseAbandoned);
        if (expected.keyboard != Keyboard::Other) {
            Activated();
            if (expected.keyboard == Keyboard::Any && expected.beforeBox == Keyboard::Other) {
                expected.keyboard = Keyboard::Other;
            }
        }
        if (app::CloseDue(expected.presence)) Apply(app::PresenceEvent::CloseRequested);
    }

    // Walks an open box from inside its modal loop; returns once a step has
    // closed it, and the level that opened it checks what follows.
    void BoxShown(HWND box) {
        if (starting) {
            StartUpBox(box);
            return;
        }
        expected.box = box;
        expected.boxOfClose = expected.presence.closing;
        // What shows does not depend on the box's owner.
        expected.presence = app::After(expected.presence, app::PresenceEvent::BoxOpened,
                                       {expected.boxOfClose ? app::Box::Error : app::Box::About});
        expected.keyboard = Keyboard::Any;
        Check();
        while (steps < kSteps && !HasFailure()) {
            if (!Step()) continue;
            // Ended under the box: its modal loop ends at the quit.
            if (!::IsWindowVisible(box) || expected.ends) return;
            Check();
        }
        // Out of steps, or failed: the box goes, so the walk can end.
        BoxGoes();
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }

    // The switch warning at start: OK, or a close under it.
    void StartUpBox(HWND box) {
        const auto windowOf = [](const wchar_t* windowClass) { return ::FindWindowW(windowClass, nullptr); };
        switch (random() % 3) {
            case 0:
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                break;
            case 1:
                closedAtStart = true;
                ::PostMessageW(windowOf(L"KestrinApplication"), WM_CLOSE, 0, 0);
                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                break;
            default: {
                closedAtStart = true;
                std::vector<HWND> targets{box, windowOf(L"KestrinApplication"), windowOf(L"KestrinMainWindow"),
                                          windowOf(L"TPUtilWindowEx")};
                std::shuffle(targets.begin(), targets.end(), random);
                for (const HWND window : targets) ::PostMessageW(window, WM_CLOSE, 0, 0);
                break;
            }
        }
    }

    // A new start after the end, now and then with the switch warning; a close
    // under the warning ends that start before the icon is ever added.
    void Restart() {
        EXPECT_FALSE(::IsWindowVisible(Main())) << where;
        EXPECT_FALSE(::IsWindowVisible(Taskbar())) << where;
        locked.reset();
        lateCloses.clear();
        do {
            application.reset();
            WriteSettings(random() % 3 == 0);
            shell.calls.clear();
            starting = true;
            closedAtStart = false;
            Start();
            starting = false;
            ASSERT_EQ(QuitPosted(), closedAtStart) << where;
            if (closedAtStart) {
                ASSERT_EQ(shell.Count(NIM_ADD), 0u) << where;
            }
        } while (closedAtStart);
        expected = {};
        expected.presence = app::After({}, app::PresenceEvent::HideApplication);
    }

    void Check() {
        const app::Scene scene = Scene();
        ASSERT_EQ(::IsWindowVisible(Main()) != FALSE, scene.window) << where;
        ASSERT_EQ(::IsWindowVisible(Taskbar()) != FALSE, scene.taskbarButton) << where;
        ASSERT_EQ(Tray().IconVisible(), IconExpected()) << where;
        ASSERT_FALSE(::IsIconic(Main())) << where;
        // Without the window, the button stands in for the icon, minimised.
        if (scene.taskbarButton) {
            ASSERT_EQ(::IsIconic(Taskbar()) != FALSE, !scene.window) << where;
        }
        if (expected.box != nullptr) {
            ASSERT_TRUE(::IsWindowVisible(expected.box)) << where;
        }
        // No hidden window of the program ever has the keyboard.
        other.Settle();
        const HWND foreground = ::GetForegroundWindow();
        if (foreground != nullptr && OfTheProgram(foreground)) {
            ASSERT_TRUE(::IsWindowVisible(foreground)) << where;
        }
        switch (expected.keyboard) {
            case Keyboard::Main:
                ASSERT_EQ(foreground, Main()) << where;
                ASSERT_TRUE(::IsChild(Main(), ::GetFocus())) << where;
                break;
            case Keyboard::Box:
                ASSERT_EQ(foreground, expected.box) << where;
                break;
            case Keyboard::Other:
                ASSERT_EQ(foreground, other.Handle()) << where;
                break;
            case Keyboard::Any:
                break;
        }
    }
};

TEST_F(PresenceWalkTest, ARandomWalkOfUserEventsAlwaysShowsWhatTheUserExpects) {
    const char* fixed = std::getenv("KESTRIN_WALK_SEED");
    const std::uint32_t seed = fixed != nullptr ? static_cast<std::uint32_t>(std::strtoul(fixed, nullptr, 10))
                                                : std::random_device{}();
    std::printf("walk seed %u (KESTRIN_WALK_SEED repeats it)\n", seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    random.seed(seed);
    Walk();
    EXPECT_GE(steps, kSteps);
}

}  // namespace
}  // namespace kestrin::test
