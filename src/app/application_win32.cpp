#include "app/application_win32.h"

#include <stdexcept>

#include "app/application_title_win32.h"
#include "ui/window_class_win32.h"
#include "base/date_time.h"
#include "base/regional_formats.h"
#include "net/main_thread_queue.h"

namespace kestrin::app {

namespace {

constexpr wchar_t kTaskbarWindowClass[] = L"KestrinApplication";

std::wstring Wide(const std::u16string& text) {
    return {text.begin(), text.end()};
}

}  // namespace

Application::Application(HINSTANCE instance, files::ProgramDirectory directory, ui::TrayShell& shell)
    : directory_(std::move(directory)),
      title_(ApplicationTitle(files::ExecutablePath())),
      publicAddress_(directory_, base::SystemClock(), base::UserRegionalFormats()) {
    CreateTaskbarWindow(instance);
    // A listener thread wakes the main thread with an empty message; its
    // handling runs the deliveries, also under a modal message box.
    const HWND taskbar = taskbarWindow_;
    net::SetMainThreadWakeUp([taskbar] { ::PostMessageW(taskbar, WM_NULL, 0, 0); });
    CreateJvTrayIcon1(instance, shell);
    mainWindow_ = std::make_unique<ui::MainWindow>(taskbarWindow_, title_, *this);
    mainWindow_->SetJvTrayIcon1(jvTrayIcon1_.get());
    // The main window's components are loaded: the tray icon becomes active
    // and hides the application before anything is shown.
    jvTrayIcon1_->SetActive(true);
    form_ = std::make_unique<core::TForm1>(directory_, base::SystemClock(), base::UserRegionalFormats(), *mainWindow_,
                                           *jvTrayIcon1_, publicAddress_);
    try {
        form_->FormCreate();
    } catch (...) {
        HandleException(std::current_exception());
    }
    UpdateTaskbarButton();
}

Application::~Application() {
    // The listener's deliveries need the form and the window; it ends first.
    form_.reset();
    // The icon leaves the notification area and the hook the task-bar window.
    if (mainWindow_ != nullptr) mainWindow_->SetJvTrayIcon1(nullptr);
    jvTrayIcon1_.reset();
    mainWindow_.reset();
    net::SetMainThreadWakeUp(nullptr);
    if (taskbarWindow_ != nullptr) ::DestroyWindow(taskbarWindow_);
}

void Application::CreateTaskbarWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass = ui::WindowClassOf(kTaskbarWindowClass, TaskbarWindowProcedure);
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, L"MAINICON");
    ui::RegisterWindowClass(windowClass);
    // Zero-sized in the middle of the screen: it exists for its task-bar
    // button, and a minimise animates towards that spot.
    const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    taskbarWindow_ = ::CreateWindowExW(0, kTaskbarWindowClass, Wide(title_).c_str(),
                                       WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y,
                                       0, 0, nullptr, nullptr, instance, this);
    if (taskbarWindow_ == nullptr) throw std::runtime_error("the application window could not be created");
}

void Application::CreateJvTrayIcon1(HINSTANCE instance, ui::TrayShell& shell) {
    // The program icon at the notification area's size; none in a program without it.
    trayImage_.Reset(static_cast<HICON>(::LoadImageW(instance, L"MAINICON", IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0)));
    jvTrayIcon1_ = std::make_unique<ui::TJvTrayIcon>(*this, shell, base::SystemClock(), trayImage_.Get());
    jvTrayIcon1_->OnClick = [this](const ui::TrayClick& click) { mainWindow_->JvTrayIcon1Click(click); };
    jvTrayIcon1_->OnDblClick = [this](const ui::TrayClick& click) { mainWindow_->JvTrayIcon1DblClick(click); };
}

LRESULT CALLBACK Application::TaskbarWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* application = reinterpret_cast<Application*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (application == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    try {
        return application->HandleTaskbarMessage(window, message, wParam, lParam);
    } catch (...) {
        application->HandleException(std::current_exception());
        return 0;
    }
}

LRESULT Application::HandleTaskbarMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NULL:
            net::RunQueuedRequests();
            return 0;
        case WM_CLOSE:
            // What the task manager or taskkill send: close as "&Close" does.
            CloseRequested();
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                Minimise();
                return 0;
            }
            if ((wParam & 0xFFF0) == SC_RESTORE) {
                Restore();
                return 0;
            }
            break;
        case WM_SIZE:
            // The task-bar button was used to minimise the application.
            if (wParam == SIZE_MINIMIZED && !minimised_ && !trayShowing_) {
                minimised_ = true;
                if (minimiseHookRegistered_) mainWindow_->HideAndMinimise();
            }
            break;
        default:
            break;
    }
    // `window`, not taskbarWindow_: messages arrive before CreateWindowExW has returned.
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool Application::Dispatch(MSG& message) {
    if (message.message == WM_QUIT) return false;
    if (!::IsDialogMessageW(mainWindow_->Handle(), &message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    UpdateTaskbarButton();
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
        UpdateTaskbarButton();
        ::WaitMessage();
    }
}

void Application::CloseRequested() {
    if (closing_) return;
    // A failed write of the balloon switch abandons the close; the error box
    // shows why and everything stays as it was.
    form_->FormClose();
    closing_ = true;
    ::ShowWindow(mainWindow_->Handle(), SW_HIDE);
    ::PostQuitMessage(0);
}

void Application::MinimiseRequested() {
    // Through the task-bar window, whose hooks (the tray icon's) see it first.
    ::SendMessageW(taskbarWindow_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void Application::Minimise() {
    // A main window brought back from the tray without restoring the
    // application still minimises: the flag alone would swallow the command.
    if (minimised_ && !::IsWindowVisible(mainWindow_->Handle())) return;
    minimised_ = true;
    if (::IsWindowVisible(taskbarWindow_)) ::ShowWindow(taskbarWindow_, SW_MINIMIZE);
    if (minimiseHookRegistered_) mainWindow_->HideAndMinimise();
    UpdateTaskbarButton();
}

void Application::RegisterMinimiseHook() {
    minimiseHookRegistered_ = true;
}

void Application::HandleException(std::exception_ptr error) {
    HWND owner = ::GetActiveWindow();
    if (owner == nullptr) owner = taskbarWindow_;
    ui::ShowErrorBox(owner, title_, error);
}

void Application::UpdateTaskbarButton() {
    if (taskbarWindow_ == nullptr || mainWindow_ == nullptr) return;
    const bool wanted = ::IsWindowVisible(mainWindow_->Handle()) != FALSE;
    const bool actual = ::IsWindowVisible(taskbarWindow_) != FALSE;
    // Once the task-bar window is as the rule wants it, whoever set it, the
    // rule takes it over again; otherwise the tray icon's hiding would keep
    // the button away for good.
    if (actual == wanted) {
        taskbarShown_ = wanted;
        return;
    }
    if (actual != taskbarShown_) return;
    ::ShowWindow(taskbarWindow_, wanted ? SW_SHOWNOACTIVATE : SW_HIDE);
    taskbarShown_ = wanted;
}

void Application::Restore() {
    minimised_ = false;
    ::ShowWindow(taskbarWindow_, SW_RESTORE);
}

HWND Application::MainWindowHandle() const {
    return mainWindow_ == nullptr ? nullptr : mainWindow_->Handle();
}

void Application::ShowTaskbarWindow(int showCommand) {
    trayShowing_ = true;
    ::ShowWindow(taskbarWindow_, showCommand);
    trayShowing_ = false;
}

}  // namespace kestrin::app
