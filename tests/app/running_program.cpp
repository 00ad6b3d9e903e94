#include "running_program.h"

#include <array>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <vector>

#include "base/win32_text.h"
#include "net/socket_errors.h"
#include "net/socket_layer.h"
#include "net/udp_socket.h"
#include "ui/wide_text.h"

namespace kestrin::test {

std::filesystem::path TestDirectory() {
    std::array<wchar_t, MAX_PATH> path{};
    ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return std::filesystem::path(path.data()).parent_path();
}

namespace {

constexpr DWORD kPollMilliseconds = 20;

struct Search {
    DWORD processId;
    const wchar_t* className;
    HWND owner;
    bool visibleOnly = false;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != search.processId) return TRUE;
    if (search.visibleOnly && !::IsWindowVisible(window)) return TRUE;
    if (search.owner != nullptr && ::GetWindow(window, GW_OWNER) != search.owner) return TRUE;
    if (search.className != nullptr) {
        std::array<wchar_t, 256> name{};
        ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
        if (std::wstring(name.data()) != search.className) return TRUE;
    }
    search.found = window;
    return FALSE;
}

HWND FindWindowOf(DWORD processId, const wchar_t* className, HWND owner) {
    Search search{processId, className, owner};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::uint16_t FreeUdpPort() {
    net::SocketLayerUse use;
    for (int attempt = 0; attempt < 50; ++attempt) {
        net::SocketHandle v4 = net::CreateDatagramSocket(net::Id_IPv4);
        net::BindToWildcard(v4.Get(), net::Id_IPv4, 0);
        const std::uint16_t port = net::LocalAddress(v4.Get()).port;
        if (!net::SupportsIPv6()) return port;
        try {
            net::SocketHandle v6 = net::CreateDatagramSocket(net::Id_IPv6);
            net::SetSocketOption(v6.Get(), net::SocketOption::IPv6Only, 1);
            net::BindToWildcard(v6.Get(), net::Id_IPv6, port);
            return port;
        } catch (const net::EIdSocketError&) {
            // Taken on IPv6: try another.
        }
    }
    throw std::runtime_error("no UDP port free on both IP versions");
}

RunningProgram::RunningProgram(const std::string& mainSection) {
    directory_ = std::filesystem::temp_directory_path() /
                 ("kestrin_program_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(directory_);
    std::filesystem::copy_file(TestDirectory() / "kestrin.exe", directory_ / "kestrin.exe");
    std::ofstream(directory_ / "config.cfg", std::ios::binary) << "[Main]\r\n" << mainSection;

    std::wstring commandLine = L"\"" + (directory_ / "kestrin.exe").wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // Started from another directory: the program must find its files beside itself.
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          TestDirectory().c_str(), &startup, &process_)) {
        throw std::runtime_error("kestrin.exe could not be started");
    }
}

RunningProgram::~RunningProgram() {
    if (!Ended()) {
        ::TerminateProcess(process_.hProcess, 1);
        ::WaitForSingleObject(process_.hProcess, INFINITE);
    }
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

std::string RunningProgram::FileBytes(const std::filesystem::path& relative) const {
    std::ifstream in(directory_ / relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool RunningProgram::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        // Paces the looking, and notices at once when the program has ended.
        if (::WaitForSingleObject(process_.hProcess, kPollMilliseconds) == WAIT_OBJECT_0) return done();
    }
    return true;
}

HWND RunningProgram::TopLevelWindow(const wchar_t* className) const {
    return FindWindowOf(process_.dwProcessId, className, nullptr);
}

HWND RunningProgram::VisibleTopLevelWindow() const {
    Search search{process_.dwProcessId, nullptr, nullptr, true};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND RunningProgram::TaskbarWindow() const {
    return TopLevelWindow(L"KestrinApplication");
}

HWND RunningProgram::MainWindow() const {
    const HWND taskbar = TaskbarWindow();
    return taskbar == nullptr ? nullptr : FindWindowOf(process_.dwProcessId, nullptr, taskbar);
}

HWND RunningProgram::MessageBoxWindow() const {
    return TopLevelWindow(L"#32770");
}

bool RunningProgram::Ended() const {
    return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

DWORD RunningProgram::WaitForExit() {
    WaitUntil([&] { return Ended(); });
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

std::wstring WindowText(HWND window) {
    return base::Wide(ui::WindowText(window));
}

std::wstring MessageBoxText(HWND box) {
    // The message box keeps its text in the static control 0xFFFF.
    return WindowText(::GetDlgItem(box, 0xFFFF));
}

}  // namespace kestrin::test
