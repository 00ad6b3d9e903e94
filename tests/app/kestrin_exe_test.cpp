// The real program, started as a user starts it and ended as Windows ends it.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "net/socket_layer.h"
#include "publicaddr/local_http_server.h"
#include "publicaddr/service_request.h"
#include "base/text.h"
#include "ui/dpi_win32.h"
#include "ui/main_window_win32.h"
#include "ui/popup_menu_win32.h"
#include "ui/window_class_win32.h"
#include "net/udp_socket.h"
#include "running_program.h"
#include "support/bytes.h"
#include "support/icon_width_win32.h"

namespace kestrin::test {
namespace {

std::string Settings(std::uint16_t port, const std::string& more) {
    std::string text = "Port=";
    text += std::to_string(port);
    // Nothing listens on port 9 of the loopback address.
    text += "\r\nERROR=1\r\nWARNING=1\r\nIP1=http://127.0.0.1:9/\r\nIP2=http://[::1]:9/\r\n";
    text += more;
    return text;
}

// The port, only errors listed, and the two public address services.
std::string ServiceSettings(std::uint16_t port, const LocalHttpServer& first, const LocalHttpServer& second) {
    std::string settings = "Port=";
    settings += std::to_string(port);
    settings += "\r\nERROR=1\r\nIP1=";
    settings += base::Utf16ToUtf8(first.Url(u"/ip"));
    settings += "\r\nIP2=";
    settings += base::Utf16ToUtf8(second.Url(u"/ip"));
    settings += "\r\n";
    return settings;
}

void SendFrom(const net::SocketHandle& sender, net::TIdIPVersion version, std::uint16_t port, const std::string& text) {
    net::SendToLoopback(sender.Get(), version, port, Bytes(text));
}

void Send(net::TIdIPVersion version, std::uint16_t port, const std::string& text) {
    net::SocketLayerUse use;
    SendFrom(net::CreateDatagramSocket(version), version, port, text);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The day's log file, whatever the day is.
std::string LogText(const RunningProgram& program) {
    std::string all;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(program.Directory() / "logfiles", ignored)) {
        all += program.FileBytes(std::filesystem::path("logfiles") / entry.path().filename());
    }
    return all;
}

TEST(KestrinExeTest, ReceivesIntoTheDailyLogAndStoresTheBalloonSwitchWhenWindowsClosesIt) {
    const std::uint16_t port = FreeUdpPort();
    RunningProgram program(Settings(port, "ViewHint=1\r\n"));
    // The log directory is made after the listener is active.
    ASSERT_TRUE(program.WaitUntil([&] { return std::filesystem::is_directory(program.Directory() / "logfiles"); }));

    Send(net::Id_IPv4, port, "<11>Dec  8 10:15:03 switch port 7 down");
    ASSERT_TRUE(program.WaitUntil([&] { return Contains(LogText(program), "port 7 down\r\n"); }));
    EXPECT_TRUE(Contains(LogText(program), ": switch >>User.Error<<<11>Dec  8 10:15:03 switch port 7 down\r\n"))
        << LogText(program);
    if (net::SocketLayerUse use; net::SupportsIPv6()) {
        Send(net::Id_IPv6, port, "<12>router: over IPv6");
        ASSERT_TRUE(program.WaitUntil([&] { return Contains(LogText(program), "over IPv6\r\n"); }));
    }

    // It sits hidden: no window and no task-bar button.
    const HWND taskbar = program.TaskbarWindow();
    ASSERT_NE(taskbar, nullptr);
    EXPECT_EQ(WindowText(taskbar), L"kestrin");
    EXPECT_FALSE(::IsWindowVisible(taskbar));
    ASSERT_NE(program.MainWindow(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(program.MainWindow()));

    // What the task manager and taskkill send.
    ::PostMessageW(taskbar, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    EXPECT_TRUE(Contains(program.FileBytes("config.cfg"), "ViewHint=1\r\n"));
}

TEST(KestrinExeTest, AClosedHiddenMainWindowEndsTheProgramToo) {
    RunningProgram program(Settings(FreeUdpPort(), ""));
    ASSERT_TRUE(program.WaitUntil([&] { return std::filesystem::is_directory(program.Directory() / "logfiles"); }));
    ASSERT_TRUE(program.WaitUntil([&] { return program.MainWindow() != nullptr; }));
    ::PostMessageW(program.MainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    // No ViewHint before: the balloon switch starts unticked and is stored so.
    EXPECT_TRUE(Contains(program.FileBytes("config.cfg"), "ViewHint=0\r\n"));
}

// Windows ends a program in the tray with the session, without a close: the
// tick changed since the start must outlive it.
TEST(KestrinExeTest, TheEndOfTheSessionStoresTheBalloonSwitchAsItIsThen) {
    RunningProgram program(Settings(FreeUdpPort(), "ViewHint=0\r\n"));
    ASSERT_TRUE(program.WaitUntil([&] { return std::filesystem::is_directory(program.Directory() / "logfiles"); }));
    const HWND windows[] = {program.TaskbarWindow(), program.MainWindow(), program.TopLevelWindow(L"TPUtilWindowEx")};
    for (const HWND window : windows) ASSERT_NE(window, nullptr);
    // "View hints for new entries", as the menu sends it.
    ::SendMessageW(program.MainWindow(), WM_COMMAND, ui::kN3Id, 0);
    // What Windows sends every top-level window at the end of the session.
    for (const HWND window : windows) EXPECT_NE(::SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), 0);
    for (const HWND window : windows) ::SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(Contains(program.FileBytes("config.cfg"), "ViewHint=1\r\n"));
}

TEST(KestrinExeTest, APortInUseShowsTheBindErrorAndTheProgramKeepsRunning) {
    net::SocketLayerUse use;
    net::SocketHandle holder = net::CreateDatagramSocket(net::Id_IPv4);
    net::BindToWildcard(holder.Get(), net::Id_IPv4, 0);
    const std::uint16_t port = net::LocalAddress(holder.Get()).port;

    RunningProgram program(Settings(port, "IPVersion=IPV4\r\n"));
    // Found once it has its text: the box is visible from outside before that.
    ASSERT_TRUE(program.WaitUntil(
        [&] { return program.MessageBoxWindow() != nullptr && !MessageBoxText(program.MessageBoxWindow()).empty(); }));
    const HWND box = program.MessageBoxWindow();
    EXPECT_EQ(WindowText(box), L"kestrin");
    // The innermost cause's message; it ends in a line break, so no full stop.
    EXPECT_EQ(MessageBoxText(box), L"Socket-Fehler # 10048Adresse wird bereits verwendet.\r\n");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(program.WaitUntil([&] { return program.MessageBoxWindow() == nullptr; }));
    EXPECT_FALSE(program.Ended());
    // Start-up ended before the log directory.
    EXPECT_FALSE(std::filesystem::exists(program.Directory() / "logfiles"));

    ::PostMessageW(program.TaskbarWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

BOOL CALLBACK CountTrayIcon(HWND window, LPARAM count) {
    std::array<wchar_t, 64> name{};
    ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    if (std::wstring(name.data()) == L"__winex11_tray_icon") ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountTrayIconsIn(HWND window, LPARAM count) {
    CountTrayIcon(window, count);
    ::EnumChildWindows(window, CountTrayIcon, count);
    return TRUE;
}

// Wine without a desktop shell shows every notification icon as a window of its own.
int NotificationIcons() {
    int count = 0;
    ::EnumWindows(CountTrayIconsIn, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST(KestrinExeTest, StartsInTheTrayWithItsIconAndNeitherWindowNorTaskbarButton) {
    const int before = NotificationIcons();
    RunningProgram program(Settings(FreeUdpPort(), ""));
    ASSERT_TRUE(program.WaitUntil([&] { return NotificationIcons() == before + 1; }));
    const HWND notification = program.TopLevelWindow(L"TPUtilWindowEx");
    ASSERT_NE(notification, nullptr);
    EXPECT_FALSE(::IsWindowVisible(notification));
    const HWND taskbar = program.TaskbarWindow();
    ASSERT_NE(taskbar, nullptr);
    EXPECT_FALSE(::IsWindowVisible(taskbar));
    ASSERT_NE(program.MainWindow(), nullptr);
    EXPECT_FALSE(::IsWindowVisible(program.MainWindow()));
    // Nothing of the program's is visible at all.
    EXPECT_EQ(program.VisibleTopLevelWindow(), nullptr);

    ::PostMessageW(taskbar, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
    // The icon went with it.
    EXPECT_EQ(NotificationIcons(), before);
}

// The width of a window's icon of the kind, 0 for none.
int IconWidth(HWND window, WPARAM kind) {
    return test::IconWidth(reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, kind, 0)));
}

void UnloadModule(HMODULE module) noexcept { ::FreeLibrary(module); }

TEST(ProgramIconTest, AWindowShowsTheProgramIconAtBothSizesOfItsDpiAndOfEachNewOne) {
    // kestrin.exe's icon, read from its resources without starting it.
    const base::UniqueHandle<HMODULE, UnloadModule> program(::LoadLibraryExW(
        (TestDirectory() / "kestrin.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(program);
    ui::WindowIcons icons(program.Get());
    const ui::UniqueWindow window(
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    for (const int dpi : {96, 144, 96}) {
        SCOPED_TRACE(dpi);
        icons.Apply(window.Get(), dpi);
        EXPECT_EQ(IconWidth(window.Get(), ICON_SMALL), ui::SystemMetricForDpi(SM_CXSMICON, dpi));
        EXPECT_EQ(IconWidth(window.Get(), ICON_BIG), ui::SystemMetricForDpi(SM_CXICON, dpi));
    }
}

std::wstring ControlText(HWND window, int id) {
    std::array<wchar_t, 256> text{};
    // WM_GETTEXT is carried across processes.
    ::SendMessageW(::GetDlgItem(window, id), WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

TEST(KestrinExeTest, ThePublicAddressOfTheFirstUsefulServiceIsShownAndRecorded) {
    LocalHttpServer errorPage(HttpResponse("<html><body>Service unavailable</body></html>", "503 Service Unavailable",
                                           "Content-Type: text/html\r\n"));
    LocalHttpServer service(HttpResponse("203.0.113.7\n"));
    RunningProgram program(ServiceSettings(FreeUdpPort(), errorPage, service));

    ASSERT_TRUE(program.WaitUntil([&] { return Contains(program.FileBytes("ip_list.cfg"), "\r\n"); }));
    const std::string history = program.FileBytes("ip_list.cfg");
    EXPECT_EQ(history.substr(history.size() - 14), " 203.0.113.7\r\n") << history;
    EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 1);
    ASSERT_TRUE(program.WaitUntil([&] { return ControlText(program.MainWindow(), ui::kLabel2Id) == L"203.0.113.7"; }));
    EXPECT_EQ(ControlText(program.MainWindow(), ui::kLabel1Id), L"Error: ON Warnings: OFF Infos: OFF");
    ASSERT_EQ(errorPage.Requests().size(), 1u);
    EXPECT_EQ(HeaderValue(errorPage.Requests()[0], "User-Agent"), base::Utf16ToUtf8(errorPage.Url(u"/ip")));

    ::PostMessageW(program.TaskbarWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST(KestrinExeTest, AStalledServiceHoldsUpStartUpOnlyUntilItsDeadlineAndLosesNoDatagram) {
    using namespace std::chrono_literals;
    constexpr int kDatagrams = 2'000;
    constexpr auto kStartUpLimit = publicaddr::RequestLimits{}.total + 15s;
    LocalHttpServer stalled(Silent());
    LocalHttpServer service(HttpResponse("203.0.113.7\n"));
    const std::uint16_t port = FreeUdpPort();
    const auto start = std::chrono::steady_clock::now();
    RunningProgram program(ServiceSettings(port, stalled, service));

    // The listener is active and the first service asked: start-up is stuck there.
    ASSERT_TRUE(program.WaitUntil([&] { return !stalled.Requests().empty(); }));
    {
        net::SocketLayerUse use;
        const net::SocketHandle sender = net::CreateDatagramSocket(net::Id_IPv4);
        for (int i = 0; i < kDatagrams; ++i) SendFrom(sender, net::Id_IPv4, port, "<11>stalled start " + std::to_string(i));
    }
    // They wait in the socket's receive queue until start-up has ended.
    EXPECT_FALSE(std::filesystem::exists(program.Directory() / "ip_list.cfg"));

    ASSERT_TRUE(program.WaitUntil([&] { return Contains(program.FileBytes("ip_list.cfg"), "\r\n"); }, kStartUpLimit));
    EXPECT_LT(std::chrono::steady_clock::now() - start, kStartUpLimit);
    EXPECT_TRUE(Contains(program.FileBytes("ip_list.cfg"), " 203.0.113.7\r\n"));
    const auto allLogged = [&] {
        const std::string log = LogText(program);
        for (int i = 0; i < kDatagrams; ++i) {
            if (!Contains(log, ">stalled start " + std::to_string(i) + "\r\n")) return false;
        }
        return true;
    };
    EXPECT_TRUE(program.WaitUntil(allLogged));

    ::PostMessageW(program.TaskbarWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace
}  // namespace kestrin::test
