#pragma once
// A TrayShell that records every Shell_NotifyIconW call with a copy of the
// record, can refuse calls, plays a shell of any version, and keeps the
// notification window's timers as a table instead of starting them.

#include <windows.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/tray_shell.h"

namespace kestrin::test {

struct ShellCall {
    DWORD message;
    ui::TNotifyIconDataXP data;

    UINT Flags() const { return data.uFlags; }
    std::wstring Info() const { return data.szInfo; }
    std::wstring InfoTitle() const { return data.szInfoTitle; }
};

class RecordingTrayShell final : public ui::TrayShell {
public:
    bool NotifyIcon(DWORD message, const ui::TNotifyIconDataXP& data) override {
        calls.push_back({message, data});
        return refused.count(message) == 0;
    }
    ui::ShellVersion Version() override { return version; }
    void StartTimer(HWND, UINT_PTR id, UINT milliseconds) override {
        timers[id] = milliseconds;
        ++timerStarts[id];
    }
    void StopTimer(HWND, UINT_PTR id) override { timers.erase(id); }

    bool TimerRunning(UINT_PTR id) const { return timers.count(id) != 0; }
    // The last call; throws when there was none, so that test fails alone.
    const ShellCall& Last() const {
        if (calls.empty()) throw std::logic_error("the shell was not called");
        return calls.back();
    }
    std::vector<DWORD> Messages() const {
        std::vector<DWORD> messages;
        for (const ShellCall& call : calls) messages.push_back(call.message);
        return messages;
    }
    std::size_t Count(DWORD message) const {
        return static_cast<std::size_t>(
            std::count_if(calls.begin(), calls.end(), [message](const ShellCall& call) { return call.message == message; }));
    }

    std::vector<ShellCall> calls;
    // Messages the shell refuses.
    std::set<DWORD> refused;
    ui::ShellVersion version{6, 0};
    // Running timers and their intervals.
    std::map<UINT_PTR, UINT> timers;
    std::map<UINT_PTR, int> timerStarts;
};

}  // namespace kestrin::test
