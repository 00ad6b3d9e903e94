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
        // Only the creation of the windows themselves can end up here.
        kestrin::ui::ShowErrorBox(nullptr, u"Kestrin", std::current_exception());
        return 1;
    }
}
