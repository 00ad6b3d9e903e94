#include "core/form1.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/exception.h"
#include "base/text.h"
#include "files/in_out_error.h"
#include "files/ini_file.h"
#include "files/scratch_directory.h"
#include "net/socket_errors.h"
#include "net/udp_socket.h"
#include "support/bytes.h"
#include "support/expect_error.h"
#include "support/fixed_clock.h"
#include "support/fixed_formats.h"
#include "support/main_loop.h"
#include "support/recording_view.h"

namespace kestrin::core {
namespace {

using namespace std::chrono_literals;
using base::Utf16ToUtf8;

// The public address check, recorded into the view's calls so that
// start-up's order shows.
class RecordingAddressCheck final : public PublicAddressCheck {
public:
    explicit RecordingAddressCheck(std::vector<std::string>& calls) : calls_(calls) {}
    std::u16string address;
    bool failHistory = false;

    std::u16string FetchPublicAddress(const std::vector<std::u16string>& urls) override {
        std::string text = "fetch";
        for (const auto& url : urls) {
            text += ' ';
            text += Utf16ToUtf8(url);
        }
        calls_.push_back(text);
        return address;
    }
    void AppendHistoryLine(const std::u16string& line) override {
        if (failHistory) throw files::EInOutError(files::kErrorAccessDenied);
        calls_.push_back(test::RecordingView::Call("history", line));
    }

private:
    std::vector<std::string>& calls_;
};

const std::string kWarning = "warning Warnings and Errors are not listed, are you sure?";

class Form1Test : public ::testing::Test {
protected:
    void Config(const std::string& mainSection) {
        std::string text = "[Main]\r\n";
        text += mainSection;
        WriteBytes(dir.Path() / "config.cfg", text);
    }
    std::filesystem::path LogDirectory() const { return dir.Path() / "logfiles"; }
    std::string ConfigBytes() const { return ReadBytes(dir.Path() / "config.cfg"); }

    ScratchDirectory dir;
    files::ProgramDirectory program = dir.AsProgramDirectory();
    FixedClock clock;
    const test::GermanFormats formats;
    test::RecordingView outputs;
    RecordingAddressCheck check{outputs.calls};
    net::SocketLayerUse socketLayer;
    TForm1 form{program, clock, formats, outputs.View(), check};
};

TEST(Form1TextsTest, SwitchSummary) {
    EXPECT_EQ(SwitchSummary(false, false, false), u"Error: OFF Warnings: OFF Infos: OFF");
    EXPECT_EQ(SwitchSummary(true, true, false), u"Error: ON Warnings: ON Infos: OFF");
    EXPECT_EQ(SwitchSummary(true, false, true), u"Error: ON Warnings: OFF Infos: ON");
    EXPECT_EQ(SwitchSummary(false, true, true), u"Error: OFF Warnings: ON Infos: ON");
}

TEST(Form1TextsTest, PortAndIPVersionSettings) {
    struct PortRow {
        std::u16string text;
        std::uint16_t port;
    };
    for (const PortRow& row : std::vector<PortRow>{
             {u"514", 514}, {u"5140", 5140}, {u"70000", 4464}, {u"-1", 65535}, {u"$202", 514}, {u"  0", 0}}) {
        EXPECT_EQ(PortFromSetting(row.text), row.port) << Utf16ToUtf8(row.text);
    }
    EXPECT_THROW_MSG(PortFromSetting(u"514 "), base::EConvertError, u"'514 ' ist kein gültiger Integerwert");
    EXPECT_THROW_MSG(PortFromSetting(u""), base::EConvertError, u"'' ist kein gültiger Integerwert");

    EXPECT_EQ(IPVersionFromSetting(u"IPV4"), net::Id_IPv4);
    EXPECT_EQ(IPVersionFromSetting(u"ipv4"), net::Id_IPv4);
    EXPECT_EQ(IPVersionFromSetting(u"IpV4"), net::Id_IPv4);
    for (const char16_t* other : {u"IPV6", u"", u"IPV4 ", u"4", u"IPv\u00344x"}) {
        EXPECT_EQ(IPVersionFromSetting(other), net::Id_IPv6) << Utf16ToUtf8(other);
    }
}

// Whether port 514 can be bound on both versions now; without it the start
// without settings cannot get through its activation here.
bool SyslogPortFree() {
    try {
        for (const net::TIdIPVersion version : {net::Id_IPv4, net::Id_IPv6}) {
            if (version == net::Id_IPv6 && !net::SupportsIPv6()) continue;
            net::SocketHandle socket = net::CreateDatagramSocket(version);
            if (version == net::Id_IPv6) net::SetSocketOption(socket.Get(), net::SocketOption::IPv6Only, 1);
            net::BindToWildcard(socket.Get(), version, 514);
        }
        return true;
    } catch (const net::EIdSocketError&) {
        return false;
    }
}

TEST_F(Form1Test, AStartWithoutSettingsUsesEveryDefault) {
    if (!SyslogPortFree()) GTEST_SKIP() << "UDP port 514 is taken on this machine";
    form.FormCreate();
    EXPECT_EQ(outputs.calls, (std::vector<std::string>{
                                 "minimise hook", "balloon switch off", kWarning,
                                 "Label1 Error: OFF Warnings: OFF Infos: OFF", "tray active on", "hide application",
                                 "hide window", "fetch https://api.ipify.org https://ipv4.icanhazip.com"}));
    ASSERT_TRUE(form.IdSyslogServer1.Active());
    EXPECT_EQ(form.IdSyslogServer1.Bindings()[0]->Port, 514);
    EXPECT_EQ(form.IdSyslogServer1.Bindings()[0]->IPVersion, net::Id_IPv4);
    EXPECT_TRUE(std::filesystem::is_directory(LogDirectory()));

    form.FormClose();
    EXPECT_FALSE(form.IdSyslogServer1.Active());
    EXPECT_EQ(ConfigBytes(), "[Main]\r\nViewHint=0\r\n");
}

TEST_F(Form1Test, AConfiguredStartRunsEveryStepAndReceives) {
    Config("Port=0\r\nIPVersion=ipv6\r\nERROR=1\r\nWARNING=0\r\nInfos=1\r\nViewHint=1\r\n"
           "IP1=http://127.0.0.1:9/first\r\nIP2=http://127.0.0.1:9/second\r\n");
    check.address = u"203.0.113.7";
    form.FormCreate();
    EXPECT_EQ(outputs.calls,
              (std::vector<std::string>{"minimise hook", "balloon switch on", "Label1 Error: ON Warnings: OFF Infos: ON",
                                        "tray active on", "hide application", "hide window",
                                        "fetch http://127.0.0.1:9/first http://127.0.0.1:9/second",
                                        "history 203.0.113.7", "Label2 203.0.113.7"}));
    EXPECT_TRUE(form.errors());
    EXPECT_FALSE(form.warnings());
    EXPECT_TRUE(form.infos());
    ASSERT_TRUE(form.IdSyslogServer1.Active());
    const auto& first = *form.IdSyslogServer1.Bindings()[0];
    EXPECT_EQ(first.IPVersion, net::SupportsIPv6() ? net::Id_IPv6 : net::Id_IPv4);

    // A datagram goes all the way into the log and the list.
    net::SocketHandle sender = net::CreateDatagramSocket(first.IPVersion);
    const std::string text = "<11>Dec  8 10:15:03 switch port 7 down";
    net::SendToLoopback(sender.Get(), first.IPVersion, first.Port, test::Bytes(text));
    test::MainLoop loop;
    ASSERT_TRUE(loop.RunUntil([&] { return !outputs.rows.empty(); }, 20s));
    EXPECT_EQ(ReadBytes(LogDirectory() / "syslog_8_12_26.txt"),
              "Tue 08.12.2026 10:15:03 : switch >>User.Error<<<11>Dec  8 10:15:03 switch port 7 down\r\n");

    outputs.balloonSwitch = false;  // the user untick it meanwhile
    form.FormClose();
    EXPECT_FALSE(form.IdSyslogServer1.Active());
    EXPECT_NE(ConfigBytes().find("ViewHint=0\r\n"), std::string::npos);
}

TEST_F(Form1Test, TheSwitchWarningDependsOnErrorsAndWarningsOnly) {
    struct Row {
        const char* settings;
        bool warned;
    };
    for (const Row& row : {Row{"ERROR=1\r\nWARNING=0\r\nInfos=0\r\n", false}, Row{"ERROR=0\r\nWARNING=1\r\n", false},
                           Row{"ERROR=0\r\nWARNING=0\r\nInfos=1\r\n", true}}) {
        SCOPED_TRACE(row.settings);
        Config(std::string("Port=0\r\n") + row.settings);
        outputs.calls.clear();
        form.FormCreate();
        const bool warned = std::find(outputs.calls.begin(), outputs.calls.end(), kWarning) != outputs.calls.end();
        EXPECT_EQ(warned, row.warned);
        form.FormClose();
    }
    // A close asked for under the warning ends start-up there: no icon, no lookup.
    Config("Port=0\r\n");
    outputs.calls.clear();
    outputs.closeUnderWarning = true;
    form.FormCreate();
    EXPECT_EQ(outputs.calls.back(), kWarning);
    form.FormClose();
    EXPECT_FALSE(form.IdSyslogServer1.Active());
}

// Whether the error is of kind E, with the message given.
template <typename E>
::testing::AssertionResult IsError(const std::exception_ptr& error, const std::u16string& message) {
    if (error == nullptr) return ::testing::AssertionFailure() << "no error";
    try {
        std::rethrow_exception(error);
    } catch (const E& e) {
        if (e.Message() == message) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "message " << Utf16ToUtf8(e.Message());
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "another kind: " << e.what();
    }
}

std::exception_ptr Raised(const std::function<void()>& step) {
    try {
        step();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

TEST_F(Form1Test, APortThatIsNoNumberEndsStartUpBeforeTheListener) {
    Config("Port=51x4\r\nInfos=1\r\nERROR=1\r\nWARNING=1\r\n");
    const auto error = Raised([&] { form.FormCreate(); });
    EXPECT_TRUE(IsError<base::EConvertError>(error, u"'51x4' ist kein gültiger Integerwert"));
    EXPECT_EQ(outputs.calls, std::vector<std::string>{"minimise hook"});
    EXPECT_EQ(form.ServiceUrls().size(), 2u);
    EXPECT_TRUE(form.infos());
    EXPECT_FALSE(form.errors());
    EXPECT_FALSE(form.warnings());
    EXPECT_TRUE(outputs.balloonSwitch);
    EXPECT_FALSE(form.IdSyslogServer1.Active());
    EXPECT_FALSE(std::filesystem::exists(LogDirectory()));
}

TEST_F(Form1Test, APortHeldByAnotherSocketEndsStartUpAtTheActivation) {
    net::SocketHandle holder = net::CreateDatagramSocket(net::Id_IPv4);
    net::BindToWildcard(holder.Get(), net::Id_IPv4, 0);
    const std::uint16_t port = net::LocalAddress(holder.Get()).port;
    std::string settings = "Port=";
    settings += std::to_string(port);
    settings += "\r\nIPVersion=IPV4\r\nERROR=1\r\n";
    Config(settings);
    const auto error = Raised([&] { form.FormCreate(); });
    EXPECT_TRUE(IsError<net::EIdCouldNotBindSocket>(error, u"Socket konnte nicht gebunden werden."));
    EXPECT_EQ(base::ErrorBoxText(error), u"Socket-Fehler # 10048Adresse wird bereits verwendet.\r\n");
    EXPECT_EQ(outputs.calls, std::vector<std::string>{"minimise hook"});
    EXPECT_EQ(form.IdSyslogServer1.DefaultPort, port);
    EXPECT_FALSE(form.IdSyslogServer1.Active());
    EXPECT_FALSE(form.errors());
}

TEST_F(Form1Test, AFileNamedLikeTheLogDirectoryEndsStartUpAfterTheLabels) {
    Config("Port=0\r\nERROR=1\r\n");
    WriteBytes(LogDirectory(), "not a directory");
    const auto error = Raised([&] { form.FormCreate(); });
    ASSERT_NE(error, nullptr);
    try {
        std::rethrow_exception(error);
    } catch (const files::EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), files::kErrorAlreadyExists);
    }
    EXPECT_EQ(outputs.calls, (std::vector<std::string>{"minimise hook", "balloon switch off",
                                                       "Label1 Error: ON Warnings: OFF Infos: OFF"}));
    EXPECT_TRUE(form.IdSyslogServer1.Active());
}

TEST_F(Form1Test, AHistoryThatCannotBeWrittenLeavesLabel2Empty) {
    Config("Port=0\r\nERROR=1\r\n");
    check.address = u"203.0.113.7";
    check.failHistory = true;
    const auto error = Raised([&] { form.FormCreate(); });
    EXPECT_NE(error, nullptr);
    ASSERT_FALSE(outputs.calls.empty());
    EXPECT_EQ(outputs.calls.back(), "fetch https://api.ipify.org https://ipv4.icanhazip.com");
}

TEST_F(Form1Test, ACloseThatCannotStoreTheBalloonSwitchIsAbandoned) {
    Config("Port=0\r\nERROR=1\r\n");
    form.FormCreate();
    // Tests run with every right, so a directory in the file's place makes it unwritable.
    std::filesystem::remove(dir.Path() / "config.cfg");
    std::filesystem::create_directory(dir.Path() / "config.cfg");
    const std::u16string path = program.Join(u"config.cfg");
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_THROW_MSG(form.FormClose(), files::EIniFileException, u"In " + path + u" kann nicht geschrieben werden");
        EXPECT_TRUE(form.IdSyslogServer1.Active());
    }
    std::filesystem::remove(dir.Path() / "config.cfg");
    form.FormClose();
    EXPECT_FALSE(form.IdSyslogServer1.Active());
    EXPECT_EQ(ConfigBytes(), "[Main]\r\nViewHint=0\r\n");
}

}  // namespace
}  // namespace kestrin::core
