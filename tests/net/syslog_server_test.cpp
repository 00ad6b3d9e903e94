#include "net/syslog_server.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/daily_log_file.h"
#include "core/monitor_core.h"
#include "files/scratch_directory.h"
#include "listener_fixture.h"
#include "support/fixed_clock.h"
#include "support/fixed_formats.h"
#include "support/recording_view.h"

namespace kestrin::net::test {
namespace {

struct Seen {
    std::u16string raw;
    std::u16string peer;
    std::u16string bindingPeer;
    std::u16string hostname;
    bool senderIsServer;
};

class SyslogServerTest : public ListenerTest {
protected:
    void SetUp() override {
        server.Name = u"IdSyslogServer1";
        server.DefaultPort = 0;
        server.SetBroadcastEnabled(true);
    }

    std::uint16_t Port() const { return server.Bindings()[0]->Port; }

    FixedClock clock;
    TIdSyslogServer server{clock};
};

TEST_F(SyslogServerTest, ARecordPerDatagramReachesOnSyslog) {
    EXPECT_EQ(server.DefaultPort, 0);
    EXPECT_EQ(TIdSyslogServer(clock).DefaultPort, 514);
    std::vector<Seen> seen;
    server.OnSyslog = [&](TIdSyslogServer& sender, syslog::TIdSysLogMessage& message, TIdSocketHandle& binding) {
        seen.push_back({message.RawMessage(), message.Peer(), binding.PeerIP, message.Hostname(), &sender == &server});
    };
    server.SetActive(true);
    Send(Id_IPv4, Port(), Bytes("<30>Dec  8 10:15:03 router dnsmasq[412]: lease renewed"));
    Send(Id_IPv4, Port(), Bytes(""));
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 2; }));
    EXPECT_EQ(seen[0].raw, u"<30>Dec  8 10:15:03 router dnsmasq[412]: lease renewed");
    EXPECT_EQ(seen[0].peer, u"127.0.0.1");
    EXPECT_EQ(seen[0].bindingPeer, u"127.0.0.1");
    EXPECT_EQ(seen[0].hostname, u"router");
    EXPECT_TRUE(seen[0].senderIsServer);
    // An empty datagram still makes a record, from no bytes at all.
    EXPECT_EQ(seen[1].raw, u"");
    EXPECT_EQ(seen[1].peer, u"127.0.0.1");
}

TEST_F(SyslogServerTest, DatagramsBecomeLinesOfTheDailyLogWithoutAWindow) {
    ScratchDirectory directory;
    const files::ProgramDirectory program = directory.AsProgramDirectory();
    kestrin::test::GermanFormats formats;
    kestrin::test::RecordingView view;
    view.balloonSwitch = false;
    core::DailyLogFile log(program, clock);
    core::MonitorCore monitor(view.View(), log, clock, formats);
    monitor.errors = true;
    std::size_t handled = 0;
    server.OnSyslog = [&](TIdSyslogServer&, syslog::TIdSysLogMessage& message, TIdSocketHandle&) {
        ++handled;
        monitor.IdSyslogServer1Syslog(message);
    };
    server.SetActive(true);

    // No log directory yet: the append fails, the datagram is dropped, and
    // the next one is handled normally once the directory is there.
    Send(Id_IPv4, Port(), Bytes("<11>lost"));
    ASSERT_TRUE(RunUntil([&] { return handled == 1; }));
    core::EnsureLogDirectory(program);
    Send(Id_IPv4, Port(), Bytes("<30>Dec  8 10:15:03 router dnsmasq[412]: lease renewed"));
    ASSERT_TRUE(RunUntil([&] { return handled == 2; }));
    if (HasIPv6()) {
        Send(Id_IPv6, server.Bindings()[1]->Port, Bytes("<11>Dec  8 10:15:03 switch port 7 down"));
        ASSERT_TRUE(RunUntil([&] { return handled == 3; }));
    }

    std::string expected =
        "Tue 08.12.2026 10:15:03 : router >>SYSDAEMON.Info<<<30>Dec  8 10:15:03 router dnsmasq[412]: lease renewed\r\n";
    if (HasIPv6()) expected += "Tue 08.12.2026 10:15:03 : switch >>User.Error<<<11>Dec  8 10:15:03 switch port 7 down\r\n";
    EXPECT_EQ(ReadBytes(directory.Path() / "logfiles" / "syslog_8_12_26.txt"), expected);
    EXPECT_EQ(view.rows.size(), HasIPv6() ? 1u : 0u);
}

}  // namespace
}  // namespace kestrin::net::test
