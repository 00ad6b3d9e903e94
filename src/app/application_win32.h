#pragma once
// The application object: its hidden task-bar window (which carries the
// task-bar button and owns the main window), the main window with the
// monitor's logic, and the event loop that also runs the listener's
// deliveries.

#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "core/form1.h"
#include "core/form_outputs.h"
#include "files/program_directory.h"
#include "publicaddr/public_address_check.h"
#include "ui/main_window_win32.h"

namespace kestrin::app {

class Application final : public ui::MainWindowEvents, public core::TrayIconControl {
public:
    // Creates the task-bar window, the main window and its components, then
    // runs FormCreate; an error that ends it is shown in the error box.
    Application(HINSTANCE instance, files::ProgramDirectory directory);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The event loop; returns the exit code once the main window has closed.
    int Run();

    const std::u16string& Title() const { return title_; }
    HWND TaskbarWindow() const { return taskbarWindow_; }
    ui::MainWindow& MainWindow() { return *mainWindow_; }
    core::TForm1& Form() { return *form_; }

    // ui::MainWindowEvents
    void CloseRequested() override;
    void MinimiseRequested() override;
    void RegisterMinimiseHook() override;
    void HandleException(std::exception_ptr error) override;

    // core::TrayIconControl
    void SetActive(bool active) override;
    void HideApplication() override;

private:
    static LRESULT CALLBACK TaskbarWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleTaskbarMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateTaskbarWindow(HINSTANCE instance);
    void Minimise();
    // Shows the task-bar window while a window of the application is
    // visible, hides it when none is; leaves it alone while someone else has
    // set it otherwise.
    void UpdateTaskbarButton();

    files::ProgramDirectory directory_;
    std::u16string title_;
    HWND taskbarWindow_ = nullptr;
    bool taskbarShown_ = false;  // what UpdateTaskbarButton set last
    bool minimised_ = false;
    bool minimiseHookRegistered_ = false;
    bool closing_ = false;
    publicaddr::PublicAddressService publicAddress_;
    std::unique_ptr<ui::MainWindow> mainWindow_;
    std::unique_ptr<core::TForm1> form_;
};

}  // namespace kestrin::app
