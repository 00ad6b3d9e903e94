// Shows the main window with a few received entries for the screenshot in
// the documentation. Prints "ready" once the window is drawn and ends when
// its input ends (or the window is closed).

#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include "core/entry_line.h"
#include "core/monitor_core.h"
#include "ui/main_window_win32.h"

namespace {

class QuitOnClose final : public kestrin::ui::MainWindowEvents {
public:
    void CloseRequested(kestrin::ui::CloseFrom) override { ::PostQuitMessage(0); }
    void MinimiseRequested() override {}
    void HandleException(std::exception_ptr) override {}
};

// What a few devices sent, and when; the rows are made from them as the
// program makes them.
struct Received {
    const char16_t* prefix;
    const char16_t* datagram;
};

constexpr Received kReceived[] = {
    {u"Tue 08.12.2026 10:15:03 ",
     u"<30>Dec  8 10:15:03 router dnsmasq-dhcp[412]: DHCPACK(br0) 192.168.1.23 a4:5e:60:d2:11:9c laptop-anna"},
    {u"Tue 08.12.2026 10:15:41 ",
     u"<38>Dec  8 10:15:41 nas sshd[2201]: Accepted publickey for backup from 192.168.1.40 port 50122"},
    {u"Tue 08.12.2026 10:16:02 ", u"<12>Dec  8 10:16:02 printer spooler: toner low (black, 8%)"},
    {u"Tue 08.12.2026 10:17:30 ", u"<3>Dec  8 10:17:30 router kernel: eth1: link down"},
    {u"Tue 08.12.2026 10:17:34 ", u"<6>Dec  8 10:17:34 router kernel: eth1: link up, 1000 Mbps, full duplex"},
};

class December8 final : public kestrin::base::Clock {
public:
    kestrin::base::LocalDateTime Now() const override { return {2026, 12, 8, 10, 17, 40, 0}; }
};

}  // namespace

int main() {
    QuitOnClose events;
    kestrin::ui::MainWindow window(nullptr, u"Kestrin", events);
    window.SetListOwnerDrawFixed();
    window.SetListHorizontalExtent(1500);
    const December8 clock;
    for (const Received& received : kReceived) {
        kestrin::syslog::TIdSysLogMessage message(u"workstation", clock);
        message.SetPeer(u"192.168.1.1");
        message.SetRawMessage(received.datagram);
        window.AddListEntry(kestrin::core::EntryLine(received.prefix, message), kestrin::core::kEntryColour);
    }
    window.SetSwitchSummary(u"Error: ON Warnings: ON Infos: ON");
    window.SetPublicAddress(u"203.0.113.7");
    window.ShowNormal();
    ::RedrawWindow(window.Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);

    RECT bounds;
    ::GetWindowRect(window.Handle(), &bounds);
    std::printf("ready %ldx%ld+%ld+%ld\n", bounds.right - bounds.left, bounds.bottom - bounds.top, bounds.left,
                bounds.top);
    std::fflush(stdout);

    const HWND handle = window.Handle();
    // Detached: a close from the window itself ends the program while it still waits for input.
    std::thread([handle] {
        std::string line;
        while (std::getline(std::cin, line)) {
        }
        ::PostMessageW(handle, WM_CLOSE, 0, 0);
    }).detach();
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
