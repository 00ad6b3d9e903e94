// Looks at kestrin.exe's windows from outside, as a user sees them, inside
// the Wine desktop the program runs in: `window_probe <desktop>` answers each
// command on its input with one line.
//   state     running=R exit=E main=M iconic=I button=B notify=N box=X dialogs=D foreground=F
//             (the process runs, its exit code, main window visible, main
//             window minimised, task-bar window visible, notification window
//             exists: 1 or 0 each; how many error boxes, and how many message
//             boxes of any kind, are visible; main window in the foreground:
//             1 or 0)
//   foreground  the foreground window as "class=C seen=S kestrin=K": its
//             window class; whether it can be seen (visible, not minimised,
//             not of zero size) and whether it is kestrin.exe's, 1 or 0 each;
//             "none" when there is none
//   notepad   the text in Notepad's edit control, line breaks as spaces
//   caption   the main window's caption
//   boxtext   the topmost error box's text, line breaks as spaces
//   taskbar   the shell's task bar as "L T R B" and the rectangles of its
//             child windows (its buttons), "L T R B" each, all on one line
//   minimise  posts the system command that the minimise box gives the main window
//   minimise-application  sends the task-bar window the system command that
//             a click on the active application's task-bar button gives it,
//             and answers once the program has handled it
//   taskbutton  the program's button in the task bar as "L T R B P" (P: 1
//             while it is pressed, else 0), or nothing
//   minimise-outside  minimises the main window itself, as another program may
//   send-close  sends the main window WM_CLOSE and answers once it has returned
//   sync      answers once the program has handled what was sent to it before
//   dismiss   presses the topmost error box's OK button
//   list      the main window's list as "L T R B N": its rectangle and how many rows it has
//   menu      1 while one of the program's popup menus is open, else 0
//   clipboard the clipboard's text, line breaks as spaces
// Commands that act answer "ok", or "none" when the window is not there.

#include <windows.h>

#include <array>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Program {
    DWORD processId = 0;
    HANDLE process = nullptr;
};

struct Search {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    HWND found = nullptr;
};

std::wstring ClassOf(HWND window) {
    std::array<wchar_t, 256> name{};
    ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return name.data();
}

std::wstring TextOf(HWND window) {
    std::array<wchar_t, 1024> text{};
    // WM_GETTEXT is carried across processes.
    ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (search.processId != 0 && processId != search.processId) return TRUE;
    if (search.visibleOnly && !::IsWindowVisible(window)) return TRUE;
    if (ClassOf(window) != search.className) return TRUE;
    search.found = window;
    return FALSE;
}

HWND Find(DWORD processId, const wchar_t* className, bool visibleOnly = false) {
    Search search{processId, className, visibleOnly};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The program is the owner of the task-bar window; found once, then followed to its end.
void Attach(Program& program) {
    if (program.process != nullptr) return;
    const HWND taskbar = Find(0, L"KestrinApplication");
    if (taskbar == nullptr) return;
    ::GetWindowThreadProcessId(taskbar, &program.processId);
    program.process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program.processId);
}

bool Running(const Program& program) {
    return program.process != nullptr && ::WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT;
}

HWND Window(const Program& program, const wchar_t* className, bool visibleOnly = false) {
    return Running(program) ? Find(program.processId, className, visibleOnly) : nullptr;
}

struct Boxes {
    DWORD processId;
    bool errorsOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK VisitBox(HWND window, LPARAM parameter) {
    auto& boxes = *reinterpret_cast<Boxes*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId == boxes.processId && ::IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
        (!boxes.errorsOnly || TextOf(window) == L"kestrin")) {
        boxes.found.push_back(window);
    }
    return TRUE;
}

// The program's visible message boxes (only its error boxes, captioned with
// the application title, or all), the topmost first.
std::vector<HWND> MessageBoxes(const Program& program, bool errorsOnly) {
    Boxes boxes{program.processId, errorsOnly, {}};
    if (Running(program)) ::EnumWindows(VisitBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes.found;
}

std::vector<HWND> ErrorBoxes(const Program& program) {
    return MessageBoxes(program, true);
}

HWND ErrorBox(const Program& program) {
    const std::vector<HWND> boxes = ErrorBoxes(program);
    return boxes.empty() ? nullptr : boxes.front();
}

void Rectangle(const RECT& rect) {
    std::printf(" %ld %ld %ld %ld", rect.left, rect.top, rect.right, rect.bottom);
}

BOOL CALLBACK PrintChild(HWND window, LPARAM) {
    if (::GetParent(window) != ::FindWindowW(L"Shell_TrayWnd", nullptr) || !::IsWindowVisible(window)) return TRUE;
    RECT rect{};
    ::GetWindowRect(window, &rect);
    Rectangle(rect);
    return TRUE;
}

void Print(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t c : text) narrow += (c == L'\r' || c == L'\n') ? ' ' : (c < 128 ? static_cast<char>(c) : '?');
    std::printf("%s", narrow.c_str());
}

// Visible, and not minimised or of zero size: the user sees it.
bool Seen(HWND window) {
    RECT rect{};
    return ::IsWindowVisible(window) && !::IsIconic(window) && ::GetWindowRect(window, &rect) &&
           !::IsRectEmpty(&rect);
}

// The task bar's button of a window carries that window's handle as its control id.
HWND TaskbarButtonOf(HWND window) {
    const HWND bar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (bar == nullptr || window == nullptr) return nullptr;
    for (HWND child = ::GetWindow(bar, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetWindowLongPtrW(child, GWLP_ID) == reinterpret_cast<LONG_PTR>(window)) return child;
    }
    return nullptr;
}

// Sent messages are handled in the order they come: the answer also says that
// the program took whatever was sent to it before.
bool Send(HWND window, UINT message, WPARAM wParam) {
    constexpr UINT kPatienceMs = 10000;
    return window != nullptr &&
           ::SendMessageTimeoutW(window, message, wParam, 0, SMTO_NORMAL, kPatienceMs, nullptr) != 0;
}

bool Post(HWND window, UINT message, WPARAM wParam) {
    if (window == nullptr) return false;
    ::PostMessageW(window, message, wParam, 0);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    // Windows are seen only from inside their own desktop.
    const HDESK desktop = ::OpenDesktopW(argv[1], 0, FALSE, GENERIC_ALL);
    if (desktop == nullptr || !::SetThreadDesktop(desktop)) return 1;
    Program program;
    std::string command;
    while (std::getline(std::cin, command)) {
        if (!command.empty() && command.back() == '\r') command.pop_back();
        Attach(program);
        const HWND main = Window(program, L"KestrinMainWindow");
        if (command == "state") {
            DWORD exitCode = 0;
            if (program.process != nullptr) ::GetExitCodeProcess(program.process, &exitCode);
            const bool mainVisible = main != nullptr && ::IsWindowVisible(main);
            const HWND taskbar = Window(program, L"KestrinApplication");
            std::printf("running=%d exit=%lu main=%d iconic=%d button=%d notify=%d box=%d dialogs=%d foreground=%d",
                        Running(program) ? 1 : 0, exitCode, mainVisible ? 1 : 0,
                        main != nullptr && ::IsIconic(main) ? 1 : 0,
                        taskbar != nullptr && ::IsWindowVisible(taskbar) ? 1 : 0,
                        Window(program, L"TPUtilWindowEx") != nullptr ? 1 : 0, static_cast<int>(ErrorBoxes(program).size()),
                        static_cast<int>(MessageBoxes(program, false).size()),
                        main != nullptr && ::GetForegroundWindow() == main ? 1 : 0);
        } else if (command == "foreground") {
            const HWND window = ::GetForegroundWindow();
            DWORD processId = 0;
            if (window == nullptr) {
                std::fputs("none", stdout);
            } else {
                ::GetWindowThreadProcessId(window, &processId);
                std::printf("class=");
                Print(ClassOf(window));
                std::printf(" seen=%d kestrin=%d", Seen(window) ? 1 : 0,
                            Running(program) && processId == program.processId ? 1 : 0);
            }
        } else if (command == "notepad") {
            const HWND notepad = Find(0, L"Notepad");
            if (notepad != nullptr) Print(TextOf(::FindWindowExW(notepad, nullptr, L"Edit", nullptr)));
        } else if (command == "caption") {
            if (main != nullptr) Print(TextOf(main));
        } else if (command == "boxtext") {
            const HWND box = ErrorBox(program);
            // The message box keeps its text in the static control 0xFFFF.
            if (box != nullptr) Print(TextOf(::GetDlgItem(box, 0xFFFF)));
        } else if (command == "taskbar") {
            const HWND bar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
            if (bar != nullptr) {
                RECT rect{};
                ::GetWindowRect(bar, &rect);
                Rectangle(rect);
                ::EnumChildWindows(bar, PrintChild, 0);
            }
        } else if (command == "minimise") {
            std::fputs(Post(main, WM_SYSCOMMAND, SC_MINIMIZE) ? "ok" : "none", stdout);
        } else if (command == "minimise-application") {
            std::fputs(Send(Window(program, L"KestrinApplication"), WM_SYSCOMMAND, SC_MINIMIZE) ? "ok" : "none", stdout);
        } else if (command == "taskbutton") {
            const HWND button = TaskbarButtonOf(Window(program, L"KestrinApplication"));
            if (button != nullptr && ::IsWindowVisible(button)) {
                RECT rect{};
                ::GetWindowRect(button, &rect);
                Rectangle(rect);
                std::printf(" %d", (::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0 ? 1 : 0);
            }
        } else if (command == "minimise-outside") {
            std::fputs(main != nullptr && ::ShowWindow(main, SW_MINIMIZE) >= 0 ? "ok" : "none", stdout);
        } else if (command == "send-close") {
            std::fputs(Send(main, WM_CLOSE, 0) ? "ok" : "none", stdout);
        } else if (command == "sync") {
            std::fputs(Send(Window(program, L"KestrinApplication"), WM_NULL, 0) ? "ok" : "none", stdout);
        } else if (command == "dismiss") {
            std::fputs(Post(ErrorBox(program), WM_COMMAND, IDOK) ? "ok" : "none", stdout);
        } else if (command == "list") {
            const HWND list = main != nullptr ? ::FindWindowExW(main, nullptr, L"ListBox", nullptr) : nullptr;
            RECT rect{};
            if (list != nullptr && ::GetWindowRect(list, &rect)) {
                Rectangle(rect);
                std::printf(" %ld", static_cast<long>(::SendMessageW(list, LB_GETCOUNT, 0, 0)));
            }
        } else if (command == "menu") {
            std::fputs(Window(program, L"#32768", true) != nullptr ? "1" : "0", stdout);
        } else if (command == "clipboard") {
            if (::OpenClipboard(nullptr)) {
                const HANDLE text = ::GetClipboardData(CF_UNICODETEXT);
                const auto* characters = text != nullptr ? static_cast<const wchar_t*>(::GlobalLock(text)) : nullptr;
                if (characters != nullptr) Print(characters);
                if (characters != nullptr) ::GlobalUnlock(text);
                ::CloseClipboard();
            }
        } else {
            std::fputs("unknown", stdout);
        }
        std::fputs("\n", stdout);
        std::fflush(stdout);
    }
    if (program.process != nullptr) ::CloseHandle(program.process);
    return 0;
}
