#pragma once
// The real kestrin.exe, started from a scratch program directory of its own
// with the config.cfg a test gives, and looked at from outside as Windows
// and a user see it: its windows, its files, its exit.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace kestrin::test {

// The test program's directory, where a copy of kestrin.exe is.
std::filesystem::path TestDirectory();

// A UDP port that is free on IPv4 and IPv6 at the moment of the call.
std::uint16_t FreeUdpPort();

class RunningProgram {
public:
    // Writes config.cfg ("[Main]" and the given lines), then starts the program.
    explicit RunningProgram(const std::string& mainSection);
    // Ends the program the hard way if a test left it running, and removes its directory.
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    const std::filesystem::path& Directory() const { return directory_; }
    std::string FileBytes(const std::filesystem::path& relative) const;

    static constexpr std::chrono::seconds kPatience{30};

    // Waits, with a generous limit, until `done` holds; false when the limit
    // ran out or the program ended first without it holding.
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds patience = kPatience);

    // The program's top-level window of the class, or null.
    HWND TopLevelWindow(const wchar_t* className) const;
    // The application's hidden task-bar window and the main window it owns.
    HWND TaskbarWindow() const;
    HWND MainWindow() const;
    // Any visible top-level window of the program, or null.
    HWND VisibleTopLevelWindow() const;
    // A message box the program shows, or null.
    HWND MessageBoxWindow() const;

    bool Ended() const;
    // Waits for the end; the exit code, or STILL_ACTIVE when it did not end.
    DWORD WaitForExit();

private:
    std::filesystem::path directory_;
    PROCESS_INFORMATION process_{};
};

// The text and caption of a message box.
std::wstring MessageBoxText(HWND box);
std::wstring WindowText(HWND window);

}  // namespace kestrin::test
