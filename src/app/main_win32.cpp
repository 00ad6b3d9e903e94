// The program entry: no command-line options; config.cfg beside the
// executable says everything.

#include <windows.h>

#include "app/application_win32.h"
#include "base/exception.h"
#include "files/program_directory.h"
#include "ui/main_window_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        kestrin::app::Application application(instance, kestrin::files::ProgramDirectory::OfExecutable());
        return application.Run();
    } catch (...) {
        // What reaches here: a failure to make the application before its
        // event loop runs (its windows, icons, font or menu, or the objects
        // behind them, memory among them), or an error that escapes the
        // event loop itself. Errors of window handlers and of start-up are
        // shown where they happen, and the program goes on.
        kestrin::ui::ShowErrorBox(nullptr, u"Kestrin", std::current_exception());
        return 1;
    }
}
