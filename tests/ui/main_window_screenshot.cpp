// Shows the main window with a few received entries for the screenshot in
// the documentation. Prints "ready" once the window is drawn and ends when
// its input ends (or the window is closed).

#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

#include "ui/main_window_win32.h"

namespace {

class QuitOnClose final : public kestrin::ui::MainWindowEvents {
public:
    void CloseRequested() override { ::PostQuitMessage(0); }
    void MinimiseRequested() override {}
    void RegisterMinimiseHook() override {}
    void HandleException(std::exception_ptr) override {}
};

constexpr const char16_t* kEntries[] = {
    u"Tue 08.12.2026 10:15:03 : router >>SYSDAEMON.Info<<<30>Dec  8 10:15:03 router dnsmasq-dhcp[412]: "
    u"DHCPACK(br0) 192.168.1.23 laptop-anna",
    u"Tue 08.12.2026 10:15:41 : nas >>AUTH.Notice<<<37>Dec  8 10:15:41 nas sshd[2201]: Accepted publickey for "
    u"backup from 192.168.1.40 port 50122",
    u"Tue 08.12.2026 10:16:02 : printer >>USER.Warning<<<12>Dec  8 10:16:02 printer spooler: toner low (black, 8%)",
    u"Tue 08.12.2026 10:17:30 : router >>KERN.Error<<<3>Dec  8 10:17:30 router kernel: eth1: link down",
    u"Tue 08.12.2026 10:17:34 : router >>KERN.Info<<<6>Dec  8 10:17:34 router kernel: eth1: link up, 1000 Mbps, "
    u"full duplex",
};

}  // namespace

int main() {
    QuitOnClose events;
    kestrin::ui::MainWindow window(nullptr, u"Kestrin", events);
    window.SetListOwnerDrawFixed();
    window.SetListHorizontalExtent(1500);
    for (const char16_t* entry : kEntries) window.AddListEntry(entry, 0x00FFFFFF);
    window.SetSwitchSummary(u"Error: ON Warnings: ON Infos: OFF");
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
