#pragma once
// The application object: its hidden task-bar window (which carries the
// task-bar button and owns the main window), the main window with the
// monitor's logic and its tray icon, the one owner of what of them shows,
// and the event loop that also runs the listener's deliveries.

#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "app/window_presence_win32.h"
#include "core/form1.h"
#include "core/user_view.h"
#include "files/program_directory.h"
#include "publicaddr/public_address_check.h"
#include "ui/bound_window_win32.h"
#include "ui/main_window_win32.h"
#include "ui/tray_application.h"
#include "ui/tray_icon_win32.h"
#include "ui/tray_shell.h"
#include "ui/win32_handles.h"
#include "ui/window_class_win32.h"

namespace kestrin::app {

class Application final : public ui::MainWindowEvents,
                          public ui::TrayApplication,
                          public core::TrayPresence,
                          private ui::BoundWindow {
public:
    // Creates the task-bar window, the main window and its components (the
    // tray icon among them, activated), then runs FormCreate; an error that
    // ends it is shown in the error box. `shell` must outlive the object.
    Application(HINSTANCE instance, files::ProgramDirectory directory, ui::TrayShell& shell = ui::SystemTrayShell());
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The event loop; returns the exit code once the main window has closed.
    int Run();
    // Services the messages already waiting, as the event loop does, and
    // returns; a quit among them stays for Run.
    void ProcessMessages();

    const std::u16string& Title() const { return title_; }
    HWND TaskbarWindow() const { return taskbarWindow_.Get(); }
    ui::MainWindow& MainWindow() { return *mainWindow_; }
    ui::TJvTrayIcon& JvTrayIcon1() { return *jvTrayIcon1_; }
    core::TForm1& Form() { return *form_; }
    const Presence& CurrentPresence() const { return presence_->Current(); }

    // ui::MainWindowEvents and ui::TrayApplication: a close from any window.
    // Another program's WM_CLOSE that belongs to a request already made is
    // that request; a close asked for while a box shows waits until it has
    // closed; one asked for during a delivery is tried once the delivery has
    // returned; a failed one is abandoned.
    void CloseRequested(ui::CloseFrom from) override;
    void HandleException(std::exception_ptr error) override;

    // ui::MainWindowEvents
    void MinimiseRequested() override;
    bool CloseWaiting() const override;
    // Also the task-bar window's: a look at both windows is posted.
    void PlacementChanged() override;
    // ui::BoxObserver, through ui::MainWindowEvents
    void BoxOpened(ui::BoxKind kind, HWND box, HWND before) override;
    void BoxClosed(ui::BoxKind kind) override;

    // ui::TrayApplication
    void ShellRestarted() override;
    void SessionEnding(bool ending) override;
    // FormClose and the end, with no box: the system waits for the process.
    void CloseForRestart() override;
    void IconGivenUp() override;

    // core::TrayPresence: start-up's way into the tray.
    void RegisterMinimiseHook() override;
    void ActivateTrayIcon() override;
    void HideApplication() override;
    void HideMainWindow() override;

private:
    // BoundWindow: the task-bar window.
    void Attached(HWND window) noexcept override { taskbarWindow_.Reset(window); }
    void Detached() noexcept override { taskbarWindow_.Release(); }
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void MessageFailed(std::exception_ptr error) noexcept override;

    void CreateTaskbarWindow(HINSTANCE instance);
    void CreateJvTrayIcon1(ui::TrayShell& shell);
    // The tray's icon drawn for `dpi`, given to the tray icon when it was
    // drawn for another.
    void FitTrayImage(int dpi);
    // The task-bar window's and the tray's icons for `dpi`.
    void ApplyDpi(int dpi);
    void Handle(PresenceEvent event, const ui::TrayClick& click = {});
    // The close's attempt, once no delivery is running: it waits for the
    // listener threads, one of which may wait for that delivery.
    void StartClose();
    // One attempt at the close, already counted as one by the presence:
    // FormClose, then the end or the error box.
    void TryClose();
    void End();
    // A close that waited is tried once nothing stands in its way.
    void ScheduleWaitingClose();
    // One message as the event loop handles it; false for the quit.
    bool Dispatch(MSG& message);

    files::ProgramDirectory directory_;
    std::u16string title_;
    // Before the task-bar window, so they outlive it.
    ui::WindowIcons taskbarIcons_;
    // First of the windows, so it goes last: it owns the main window.
    ui::UniqueWindow taskbarWindow_;
    publicaddr::PublicAddressService publicAddress_;
    ui::UniqueIcon trayImage_;
    int trayDpi_ = 0;
    std::unique_ptr<ui::TJvTrayIcon> jvTrayIcon1_;
    std::unique_ptr<ui::MainWindow> mainWindow_;
    std::unique_ptr<WindowPresence> presence_;
    std::unique_ptr<core::TForm1> form_;
    bool outsideChangeNoticePosted_ = false;
    // The close went through: the quit is on its way, nothing more happens.
    bool ended_ = false;
};

}  // namespace kestrin::app
