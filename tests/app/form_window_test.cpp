// The monitor's logic on the real main window: what start-up and received
// messages leave in the window a user opens.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/win32_text.h"
#include "core/form1.h"
#include "files/scratch_directory.h"
#include "net/udp_socket.h"
#include "support/bytes.h"
#include "support/fixed_clock.h"
#include "support/fixed_formats.h"
#include "support/main_loop.h"
#include "support/recording_view.h"
#include "ui/main_window_win32.h"
#include "ui/wide_text.h"

namespace kestrin::test {
namespace {

using namespace std::chrono_literals;

class Ignore final : public ui::MainWindowEvents, public core::PublicAddressCheck {
public:
    void CloseRequested(ui::CloseFrom) override {}
    void MinimiseRequested() override {}
    void HandleException(std::exception_ptr) override {}
    std::u16string FetchPublicAddress(const std::vector<std::u16string>&) override { return u"203.0.113.7"; }
    void AppendHistoryLine(const std::u16string&) override {}
};

std::wstring ControlText(HWND control) {
    return base::Wide(ui::WindowText(control));
}

std::wstring Row(HWND list, int index) {
    std::vector<wchar_t> text(static_cast<std::size_t>(::SendMessageW(list, LB_GETTEXTLEN, index, 0)) + 1);
    ::SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

TEST(FormWindowTest, ReceivedMessagesOfSwitchedOnClassesBecomeWhiteOwnerDrawnRows) {
    ScratchDirectory directory;
    WriteBytes(directory.Path() / "config.cfg", "[Main]\r\nPort=0\r\nIPVersion=IPV4\r\nERROR=1\r\nWARNING=0\r\nInfos=1\r\n");
    const files::ProgramDirectory program = directory.AsProgramDirectory();
    FixedClock clock;
    const GermanFormats formats;
    Ignore outside;
    RecordingView tray;
    ui::MainWindow window(nullptr, u"kestrin", outside);
    core::TForm1 form(program, clock, formats, {window, tray, window, tray}, outside);
    MainLoop loop;
    form.FormCreate();

    EXPECT_EQ(ControlText(window.Label1()), L"Error: ON Warnings: OFF Infos: ON");
    EXPECT_EQ(ControlText(window.Label2()), L"203.0.113.7");
    EXPECT_FALSE(window.BalloonSwitch());  // no ViewHint in the settings

    net::SocketHandle sender = net::CreateDatagramSocket(net::Id_IPv4);
    const std::uint16_t port = form.IdSyslogServer1.Bindings()[0]->Port;
    int lines = 0;
    for (const char* datagram : {"<11>router: error", "<12>router: warning", "<14>router: info"}) {
        net::SendToLoopback(sender.Get(), net::Id_IPv4, port, Bytes(datagram));
        ++lines;
        // Every message gets its log line, listed or not.
        ASSERT_TRUE(loop.RunUntil(
            [&] {
                const std::string log = ReadBytes(directory.Path() / "logfiles" / "syslog_8_12_26.txt");
                return static_cast<int>(std::count(log.begin(), log.end(), '\n')) == lines;
            },
            20s));
    }

    const HWND list = window.ListBox1();
    EXPECT_NE(::GetWindowLongPtrW(list, GWL_STYLE) & LBS_OWNERDRAWFIXED, 0);
    ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    // Without a header the sender stands in for the host name.
    EXPECT_EQ(Row(list, 0), L"Tue 08.12.2026 10:15:03 : 127.0.0.1 >>User.Error<<<11>router: error");
    EXPECT_EQ(Row(list, 1), L"Tue 08.12.2026 10:15:03 : 127.0.0.1 >>User.Info<<<14>router: info");
    for (int row = 0; row < 2; ++row) EXPECT_EQ(::SendMessageW(list, LB_GETITEMDATA, row, 0), 0x00FFFFFF);
    EXPECT_EQ(::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 1500);

    form.FormClose();
    EXPECT_NE(ReadBytes(directory.Path() / "config.cfg").find("ViewHint=0"), std::string::npos);
}

}  // namespace
}  // namespace kestrin::test
