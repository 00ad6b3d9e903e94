#include "app/application_win32.h"

#include <stdexcept>

#include "app/application_title_win32.h"
#include "base/date_time.h"
#include "base/exception.h"
#include "base/regional_formats.h"
#include "base/win32_text.h"
#include "net/main_thread_queue.h"
#include "ui/dpi_win32.h"
#include "ui/window_class_win32.h"

namespace kestrin::app {

namespace {

constexpr wchar_t kTaskbarWindowClass[] = L"KestrinApplication";
// Posted to the task-bar window when it was activated: the activation goes
// on once the system has finished activating it.
constexpr UINT kPassActivationOn = WM_APP + 1;
// Posted when a close that waited for a box may be tried: from the event
// loop, never from inside the box's end.
constexpr UINT kTryWaitingClose = WM_APP + 2;
// Posted when a window of the program was moved, shown, hidden, minimised or
// restored: what of it came from outside is noticed once it has finished.
constexpr UINT kNoticeOutsideChange = WM_APP + 3;
// Posted by a delivery that had a close asked for inside it, once it has
// returned: the close's attempt, or the Restart Manager's end.
constexpr UINT kStartClose = WM_APP + 4;
constexpr UINT kCloseForRestart = WM_APP + 5;

Box BoxOf(ui::BoxKind kind) {
    switch (kind) {
        case ui::BoxKind::SwitchWarning: return Box::SwitchWarning;
        case ui::BoxKind::Error: return Box::Error;
        case ui::BoxKind::About: return Box::About;
    }
    return Box::Error;
}

PresenceEvent CloseEvent(ui::CloseFrom from) {
    switch (from) {
        case ui::CloseFrom::User: return PresenceEvent::CloseRequested;
        case ui::CloseFrom::MainWindow: return PresenceEvent::CloseAtMainWindow;
        case ui::CloseFrom::TaskbarWindow: return PresenceEvent::CloseAtTaskbarWindow;
        case ui::CloseFrom::NotificationWindow: return PresenceEvent::CloseAtNotificationWindow;
    }
    return PresenceEvent::CloseRequested;
}

// `message` goes to `window` once the running delivery has returned.
void PostAfterDelivery(HWND window, UINT message) {
    net::AfterDelivery([window, message] { ::PostMessageW(window, message, 0, 0); });
}

}  // namespace

Application::Application(HINSTANCE instance, files::ProgramDirectory directory, ui::TrayShell& shell)
    : directory_(std::move(directory)),
      title_(ApplicationTitle(files::ExecutablePath())),
      publicAddress_(directory_, base::SystemClock(), base::UserRegionalFormats()) {
    CreateTaskbarWindow(instance);
    // A listener thread wakes the main thread with an empty message; its
    // handling runs the deliveries, also under a modal message box.
    const HWND taskbar = TaskbarWindow();
    net::SetMainThreadWakeUp([taskbar] { ::PostMessageW(taskbar, WM_NULL, 0, 0); });
    CreateJvTrayIcon1(shell);
    mainWindow_ = std::make_unique<ui::MainWindow>(taskbar, title_, *this);
    presence_ = std::make_unique<WindowPresence>(taskbar, *mainWindow_, *jvTrayIcon1_);
    // The main window's components are loaded: the tray icon becomes active.
    jvTrayIcon1_->SetActive(true);
    const core::UserView view{*mainWindow_, *jvTrayIcon1_, *mainWindow_, *this};
    form_ = std::make_unique<core::TForm1>(directory_, base::SystemClock(), base::UserRegionalFormats(), view,
                                           publicAddress_);
    try {
        form_->FormCreate();
    } catch (...) {
        HandleException(std::current_exception());
    }
    // A close asked for under start-up's boxes: start-up went no further.
    ScheduleWaitingClose();
}

Application::~Application() {
    // The listener's deliveries need the form and the window; it ends first.
    form_.reset();
    presence_.reset();
    // The icon leaves the notification area.
    jvTrayIcon1_.reset();
    mainWindow_.reset();
    net::SetMainThreadWakeUp(nullptr);
}

void Application::CreateTaskbarWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass = ui::WindowClassOf(kTaskbarWindowClass, &BoundWindow::Procedure);
    windowClass.hInstance = instance;
    ui::RegisterWindowClass(windowClass);
    // Zero-sized in the middle of the screen: it exists for its task-bar
    // button, and a minimise animates towards that spot.
    const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    if (CreateBound(0, kTaskbarWindowClass, base::Wide(title_).c_str(),
                    WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0, nullptr,
                    nullptr) == nullptr) {
        throw std::runtime_error("the application window could not be created");
    }
    // The installer asks a running Kestrin to close here, also one that runs
    // elevated while the installer does not.
    ::ChangeWindowMessageFilterEx(TaskbarWindow(), WM_CLOSE, MSGFLT_ALLOW, nullptr);
    taskbarIcons_.Apply(TaskbarWindow(), ui::WindowDpi(TaskbarWindow()));
}

void Application::FitTrayImage(int dpi) {
    if (dpi == trayDpi_) return;
    ui::UniqueIcon image = ui::LoadProgramIcon(ui::SystemMetricForDpi(SM_CXSMICON, dpi));
    jvTrayIcon1_->SetIcon(image.Get());
    // The shell has the new one: the old one can go.
    trayImage_ = std::move(image);
    trayDpi_ = dpi;
}

void Application::ApplyDpi(int dpi) {
    taskbarIcons_.Apply(TaskbarWindow(), dpi);
    FitTrayImage(dpi);
}

void Application::CreateJvTrayIcon1(ui::TrayShell& shell) {
    // The notification area is on the primary monitor, as the task-bar window is.
    trayDpi_ = ui::WindowDpi(TaskbarWindow());
    trayImage_ = ui::LoadProgramIcon(ui::SystemMetricForDpi(SM_CXSMICON, trayDpi_));
    jvTrayIcon1_ = std::make_unique<ui::TJvTrayIcon>(*this, shell, base::SystemClock(), trayImage_.Get());
    jvTrayIcon1_->OnClick = [this](const ui::TrayClick& click) { Handle(ClickEvent(click.button, false), click); };
    jvTrayIcon1_->OnDblClick = [this](const ui::TrayClick& click) { Handle(ClickEvent(click.button, true), click); };
}

void Application::Handle(PresenceEvent event, const ui::TrayClick& click) {
    // Nothing shows before the windows exist, so nothing can change.
    if (presence_ == nullptr || ended_) return;
    // An icon added or added again ("TaskbarCreated" after a change of the
    // scale, a resumed session) is drawn for the scale the system has now.
    FitTrayImage(ui::WindowDpi(TaskbarWindow()));
    presence_->Handle(event, click);
}

void Application::MessageFailed(std::exception_ptr error) noexcept {
    base::Quietly([&] { HandleException(std::move(error)); });
}

LRESULT Application::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NULL:
            net::RunQueuedRequests();
            return 0;
        case WM_CLOSE:
            // What the task manager, taskkill or the installer send.
            CloseRequested(ui::CloseFrom::TaskbarWindow);
            return 0;
        case WM_SYSCOMMAND:
            // The task-bar button's minimise and restore.
            if (ui::SystemCommand(wParam) == SC_MINIMIZE) {
                Handle(PresenceEvent::Minimise);
                return 0;
            }
            if (ui::SystemCommand(wParam) == SC_RESTORE) {
                Handle(PresenceEvent::Restore);
                return 0;
            }
            // The task-bar button's "Close window": the user's own.
            if (ui::SystemCommand(wParam) == SC_CLOSE) {
                CloseRequested(ui::CloseFrom::User);
                return 0;
            }
            break;
        case WM_WINDOWPOSCHANGED:
            // Minimised, restored or hidden from outside, past the system command.
            PlacementChanged();
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) ::PostMessageW(window, kPassActivationOn, 0, 0);
            break;
        case WM_DPICHANGED:
            // The primary monitor's scale changed: icons drawn for the new size.
            if (jvTrayIcon1_ != nullptr) ApplyDpi(LOWORD(wParam));
            return 0;
        case kPassActivationOn:
            if (presence_ != nullptr) presence_->PassActivationOn();
            return 0;
        case kNoticeOutsideChange:
            outsideChangeNoticePosted_ = false;
            if (presence_ != nullptr) presence_->NoticeOutsideChange();
            return 0;
        case kTryWaitingClose:
            if (presence_ != nullptr && CloseDue(presence_->Current())) CloseRequested(ui::CloseFrom::User);
            return 0;
        case kStartClose:
            StartClose();
            return 0;
        case kCloseForRestart:
            CloseForRestart();
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool Application::Dispatch(MSG& message) {
    if (message.message == WM_QUIT) return false;
    if (!::IsDialogMessageW(mainWindow_->Handle(), &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

void Application::ProcessMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!Dispatch(message)) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
    }
}

int Application::Run() {
    MSG message;
    while (true) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!Dispatch(message)) return static_cast<int>(message.wParam);
        }
        // Idle: deliveries whose wake-up is still on its way run now.
        net::RunQueuedRequests();
        ::WaitMessage();
    }
}

void Application::CloseRequested(ui::CloseFrom from) {
    if (presence_ == nullptr || ended_) return;
    // Under a box, or while an attempt runs, a request waits its turn; a
    // message of a request already made is nothing new.
    const bool attempting = presence_->Current().closing;
    Handle(CloseEvent(from));
    if (!attempting && presence_->Current().closing) StartClose();
}

void Application::StartClose() {
    // The Restart Manager's close may have ended the program meanwhile.
    if (ended_) return;
    if (net::DeliveryRunning()) {
        PostAfterDelivery(TaskbarWindow(), kStartClose);
        return;
    }
    TryClose();
}

void Application::TryClose() {
    try {
        form_->FormClose();
    } catch (...) {
        // A failed write of the balloon switch abandons the close: the error
        // box says why, everything stays as it was. A request made while the
        // box shows is tried once it has closed.
        HandleException(std::current_exception());
        Handle(PresenceEvent::CloseAbandoned);
        ScheduleWaitingClose();
        return;
    }
    End();
}

void Application::End() {
    presence_->Closed();
    ended_ = true;
    ::PostQuitMessage(0);
}

void Application::CloseForRestart() {
    if (presence_ == nullptr || ended_) return;
    if (net::DeliveryRunning()) {
        PostAfterDelivery(TaskbarWindow(), kCloseForRestart);
        return;
    }
    // The balloon switch is kept where it can be; the listener goes anyway.
    try {
        form_->FormClose();
    } catch (...) {
        base::Quietly([this] { form_->IdSyslogServer1.SetActive(false); });
    }
    // An open box's modal loop ends at the quit and passes it on.
    End();
}

void Application::IconGivenUp() {
    Handle(PresenceEvent::IconGivenUp);
}

void Application::PlacementChanged() {
    // Looked at once the event loop is back, for what another program may
    // have done; one look for any number of changes.
    if (outsideChangeNoticePosted_ || ended_) return;
    outsideChangeNoticePosted_ = ::PostMessageW(TaskbarWindow(), kNoticeOutsideChange, 0, 0) != FALSE;
}

void Application::ScheduleWaitingClose() {
    if (presence_ != nullptr && CloseDue(presence_->Current())) {
        ::PostMessageW(TaskbarWindow(), kTryWaitingClose, 0, 0);
    }
}

bool Application::CloseWaiting() const {
    // taskkill's message to a box may close it before those to the windows
    // have been handled: they count as asked for under the box.
    MSG message;
    return ended_ || (presence_ != nullptr && presence_->Current().closePending) ||
           ::PeekMessageW(&message, nullptr, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != FALSE;
}

void Application::BoxOpened(ui::BoxKind kind, HWND box, HWND before) {
    if (presence_ != nullptr) presence_->BoxOpened(BoxOf(kind), box, before);
}

void Application::BoxClosed(ui::BoxKind) {
    if (presence_ == nullptr) return;
    presence_->BoxClosed();
    ScheduleWaitingClose();
}

void Application::MinimiseRequested() {
    Handle(PresenceEvent::Minimise);
}

void Application::RegisterMinimiseHook() {
    if (presence_ != nullptr) presence_->RegisterMinimiseHook();
}

void Application::HandleException(std::exception_ptr error) {
    // Ending: no box may hold the end up.
    if (ended_) return;
    HWND owner = ::GetActiveWindow();
    if (owner == nullptr) owner = TaskbarWindow();
    ui::ShowErrorBox(owner, title_, error, this);
}

void Application::ActivateTrayIcon() {
    jvTrayIcon1_->SetActive(true);
}

void Application::HideApplication() {
    Handle(PresenceEvent::HideApplication);
}

void Application::HideMainWindow() {
    mainWindow_->HideAndMinimise();
}

void Application::ShellRestarted() {
    Handle(PresenceEvent::ShellRestarted);
}

void Application::SessionEnding(bool ending) {
    if (ending && form_ != nullptr) {
        // The system ends the process after this message without a close:
        // the balloon switch is stored now. Nothing may hold up the end, so
        // a failure shows no box.
        base::Quietly([this] { form_->StoreBalloonSwitch(); });
    }
    Handle(ending ? PresenceEvent::SessionEnding : PresenceEvent::SessionResumed);
}

}  // namespace kestrin::app
