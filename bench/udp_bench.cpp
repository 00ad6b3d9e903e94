// Datagrams over loopback through the whole receive path: the listener
// thread, the hand-over to the main thread, the record and its parse, the
// entry line and the daily log append. Prints the capacity when saturated,
// the highest paced rate that loses nothing and what a burst leaves, beside
// the same figures of a bare receive loop, which is what the system alone
// allows, and the capacity as a share of the serial floor: that receive
// loop's time per datagram plus the handling's, from the same run. Self-timing, so that it builds for Windows as well and runs under
// Wine there.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/date_time.h"
#include "base/regional_formats.h"
#include "core/daily_log_file.h"
#include "core/monitor_core.h"
#include "files/program_directory.h"
#include "net/socket_layer.h"
#include "net/syslog_server.h"
#include "net/udp_socket.h"
#include "support/main_loop.h"
#include "udp_bench_traffic.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrin;
using bench::SteadyClock;
using bench::Traffic;

constexpr std::string_view kRouterMessage =
    "<30>Dec  8 10:15:03 router dnsmasq-dhcp[412]: DHCPACK(br0) 192.168.1.23 a4:5e:60:d2:11:9c laptop-anna "
    "lease 3600s hops 0";
static_assert(kRouterMessage.size() == 120);

constexpr auto kFloodTime = std::chrono::seconds(2);
constexpr std::uint64_t kBurst = 10'000;
// Sent to a socket nobody reads, to see how many its receive queue holds.
constexpr std::uint64_t kDepthTries = 30'000;
// Each paced run sends this long, or this many datagrams when that is more.
constexpr double kPacedSeconds = 2;
constexpr std::uint64_t kPacedAtLeast = 2'000;
constexpr double kLowestRate = 500;
constexpr double kHighestRate = 200'000;
// Halvings of the span between the two in a geometric search: 400 fold down to about 5 %.
constexpr int kSearchSteps = 7;
// How long the main loop runs before the end of a run is looked at again.
constexpr auto kSlice = std::chrono::milliseconds(50);

// What the user sees, doing nothing: only the log is measured.
class NoView final : public core::EntryList,
                     public core::Balloons,
                     public core::FormControls,
                     public core::TrayPresence {
public:
    core::UserView View() { return {*this, *this, *this, *this}; }
    void SetListOwnerDrawFixed() override {}
    void AddListEntry(const std::u16string&, std::uint32_t) override {}
    void SetListHorizontalExtent(int) override {}
    void BalloonHint(const std::u16string&, const std::u16string&, core::TBalloonType, int, bool) override {}
    void SetBalloonSwitch(bool) override {}
    bool BalloonSwitch() const override { return false; }
    void SetSwitchSummary(const std::u16string&) override {}
    void SetPublicAddress(const std::u16string&) override {}
    bool ShowSwitchWarning(const std::u16string&) override { return true; }
    void RegisterMinimiseHook() override {}
    void ActivateTrayIcon() override {}
    void HideApplication() override {}
    void HideMainWindow() override {}
};

// One run's own program directory, daily log and monitor, so that the lines
// of each run are counted apart; the directory goes with it.
class Pipeline {
public:
    Pipeline()
        : root_(fs::temp_directory_path() / ("kestrin_udp_bench_" + std::to_string(std::random_device{}()))),
          program_(root_.u16string()),
          log_(program_, base::SystemClock()),
          monitor_(view_.View(), log_, base::SystemClock(), base::UserRegionalFormats()) {
        fs::create_directories(root_);
        core::EnsureLogDirectory(program_);
        monitor_.errors = monitor_.warnings = monitor_.infos = true;
    }
    ~Pipeline() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    // Main thread, from OnSyslog.
    void Handle(const syslog::TIdSysLogMessage& message) {
        const auto start = SteadyClock::now();
        monitor_.IdSyslogServer1Syslog(message);
        last_ = SteadyClock::now();
        handling_ += last_ - start;
        ++landed_;
    }

    std::uint64_t Landed() const { return landed_; }
    SteadyClock::time_point LastLanded() const { return last_; }
    double HandlingSeconds() const { return std::chrono::duration<double>(handling_).count(); }

    // The lines in every file of the log directory, should the day change meanwhile.
    std::uint64_t LogLines() const {
        std::uint64_t lines = 0;
        for (const auto& entry : fs::directory_iterator(fs::path(core::LogDirectoryPath(program_)))) {
            std::ifstream in(entry.path(), std::ios::binary);
            lines += static_cast<std::uint64_t>(
                std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
        }
        return lines;
    }

private:
    fs::path root_;
    files::ProgramDirectory program_;
    NoView view_;
    core::DailyLogFile log_;
    core::MonitorCore monitor_;
    std::uint64_t landed_ = 0;
    SteadyClock::time_point last_;
    SteadyClock::duration handling_{0};
};

std::vector<std::byte> Datagram() {
    std::vector<std::byte> bytes;
    for (const char c : kRouterMessage) bytes.push_back(static_cast<std::byte>(c));
    return bytes;
}

struct RunResult {
    std::uint64_t sent = 0;
    std::uint64_t sendFailures = 0;
    std::uint64_t landed = 0;
    std::uint64_t lines = 0;       // whole path only
    double seconds = 0;            // from the first send to the last arrival
    double sendSeconds = 0;
    double handlingSeconds = 0;    // whole path only: inside OnSyslog's monitor call
    double PerSecond() const { return seconds > 0 ? static_cast<double>(landed) / seconds : 0; }
    double SentPerSecond() const { return sendSeconds > 0 ? static_cast<double>(sent) / sendSeconds : 0; }
};

// The syslog server with the main loop that plays the program's main thread.
class WholePath {
public:
    WholePath() : server_(base::SystemClock()) {
        server_.Name = u"IdSyslogServer1";
        server_.DefaultPort = 0;
        server_.OnSyslog = [this](net::TIdSyslogServer&, syslog::TIdSysLogMessage& message, net::TIdSocketHandle&) {
            if (current_ != nullptr) current_->Handle(message);
        };
        server_.OnUDPException = [this](net::TIdUDPServer&, net::TIdUDPListenerThread&, net::TIdSocketHandle&,
                                        const std::u16string&, const std::type_info*) { ++errors_; };
        server_.SetActive(true);
    }
    ~WholePath() { server_.SetActive(false); }

    std::uint16_t Port() const { return server_.Bindings()[0]->Port; }
    std::int32_t ReceiveQueueBytes() const {
        return net::GetSocketOption(server_.Bindings()[0]->Handle(), net::SocketOption::ReceiveBufferSize);
    }
    std::uint64_t Errors() const { return errors_; }

    RunResult Run(const std::vector<std::byte>& datagram, Traffic traffic) {
        Pipeline pipeline;
        current_ = &pipeline;
        RunResult result;
        {
            bench::Sender sender(Port(), datagram, traffic);
            bench::Settle settle;
            const auto over = [&] { return settle.Over(sender.Finished(), sender.Sent(), pipeline.Landed()); };
            while (!over()) loop_.RunUntil(over, kSlice);
            result.sent = sender.Sent();
            result.sendFailures = sender.Failed();
            result.sendSeconds = sender.SendSeconds();
            if (pipeline.Landed() > 0) {
                result.seconds = std::chrono::duration<double>(pipeline.LastLanded() - sender.Started()).count();
            }
        }
        current_ = nullptr;
        result.landed = pipeline.Landed();
        result.handlingSeconds = pipeline.HandlingSeconds();
        result.lines = pipeline.LogLines();
        return result;
    }

private:
    net::SocketLayerUse socketLayer_;
    test::MainLoop loop_;  // before the server: its listener threads wake the loop
    net::TIdSyslogServer server_;
    Pipeline* current_ = nullptr;
    std::uint64_t errors_ = 0;
};

RunResult RunBare(const std::vector<std::byte>& datagram, Traffic traffic) {
    bench::BareReceiver receiver;
    bench::Sender sender(receiver.Port(), datagram, traffic);
    bench::Settle settle;
    while (!settle.Over(sender.Finished(), sender.Sent(), receiver.Received())) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    RunResult result;
    result.sent = sender.Sent();
    result.sendFailures = sender.Failed();
    result.sendSeconds = sender.SendSeconds();
    result.landed = receiver.Received();
    if (result.landed > 0) {
        result.seconds = std::chrono::duration<double>(receiver.LastArrival() - sender.Started()).count();
    }
    return result;
}

// 1234567 as "1,234,567".
std::string Grouped(double value) {
    const std::string digits = std::to_string(std::llround(value));
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && digits[i - 1] != '-' && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

// Three significant digits, so that the probed rates read well.
double Rounded(double rate) {
    const double unit = std::pow(10.0, std::floor(std::log10(rate)) - 2);
    return std::round(rate / unit) * unit;
}

Traffic Paced(double rate) {
    const auto count = std::max(kPacedAtLeast, static_cast<std::uint64_t>(rate * kPacedSeconds));
    return {count, rate, {}};
}

void PrintPacedRow(double rate, const RunResult& run) {
    std::printf("  %12s /s %10s %10s %10s %12s%s\n", Grouped(rate).c_str(), Grouped(double(run.sent)).c_str(),
                Grouped(double(run.landed)).c_str(), Grouped(double(run.sent - std::min(run.sent, run.landed))).c_str(),
                Grouped(double(run.lines)).c_str(), run.lines == run.landed ? "" : "  (log lines differ)");
}

// The highest paced rate at which every datagram landed, by a geometric
// search between the lowest and the highest rate; 0 when even the lowest lost some.
double HighestLosslessRate(WholePath& path, const std::vector<std::byte>& datagram) {
    std::printf("\nPaced runs (%.0f s worth each, at least %s datagrams):\n", kPacedSeconds,
                Grouped(double(kPacedAtLeast)).c_str());
    std::printf("  %15s %10s %10s %10s %12s\n", "rate", "sent", "landed", "lost", "log lines");
    const auto lossless = [&](double rate) {
        const RunResult run = path.Run(datagram, Paced(rate));
        PrintPacedRow(rate, run);
        return run.landed == run.sent && run.sendFailures == 0;
    };
    if (!lossless(kLowestRate)) return 0;
    double passed = kLowestRate;
    double failed = kHighestRate;
    for (int step = 0; step < kSearchSteps; ++step) {
        const double rate = Rounded(std::sqrt(passed * failed));
        if (rate <= passed || rate >= failed) break;
        (lossless(rate) ? passed : failed) = rate;
    }
    return passed;
}

}  // namespace

int main() {
    const std::vector<std::byte> datagram = Datagram();
    const auto started = SteadyClock::now();
    WholePath path;

    std::printf("UDP receive path over 127.0.0.1, %zu-byte datagrams\n", datagram.size());
    std::printf("receive queue granted on the server's first binding: %s bytes (as the system reports it)\n",
                Grouped(path.ReceiveQueueBytes()).c_str());
    const std::uint64_t depth = bench::QueueDepth(datagram, kDepthTries);
    std::printf("such a queue holds %s%s of these datagrams while nobody reads it\n",
                depth >= kDepthTries ? "at least " : "", Grouped(double(depth)).c_str());

    const RunResult flood = path.Run(datagram, {0, 0, kFloodTime});
    const RunResult burst = path.Run(datagram, {kBurst, 0, {}});
    const RunResult bareFlood = RunBare(datagram, {0, 0, kFloodTime});
    const RunResult bareBurst = RunBare(datagram, {kBurst, 0, {}});
    const double lossless = HighestLosslessRate(path, datagram);

    std::printf("\n%-40s %18s %18s\n", "", "whole path", "bare receive loop");
    std::printf("%-40s %13s /s   %13s /s\n", "capacity, saturated", Grouped(flood.PerSecond()).c_str(),
                Grouped(bareFlood.PerSecond()).c_str());
    std::printf("%-40s %13s /s   %13s /s\n", "  sender's rate meanwhile", Grouped(flood.SentPerSecond()).c_str(),
                Grouped(bareFlood.SentPerSecond()).c_str());
    std::printf("%-40s %10s lines %13s dgrams\n", "  landed in that run", Grouped(double(flood.landed)).c_str(),
                Grouped(double(bareFlood.landed)).c_str());
    std::printf("%-40s %10s lines %13s dgrams\n", "burst of 10,000 back to back: landed",
                Grouped(double(burst.landed)).c_str(), Grouped(double(bareBurst.landed)).c_str());
    std::printf("%-40s %13s /s   %13s /s\n", "  its rate, from first send to last line", Grouped(burst.PerSecond()).c_str(),
                Grouped(bareBurst.PerSecond()).c_str());
    std::printf("%-40s %13s /s   %16s\n", "highest paced rate with no loss",
                lossless > 0 ? Grouped(lossless).c_str() : "< 500", "-");

    if (lossless > flood.PerSecond()) {
        std::printf("\nthe no-loss rate is above the capacity: over %.0f s the queue absorbs the excess, "
                    "so it says how much a burst may exceed the capacity, not what is sustained\n",
                    kPacedSeconds);
    }
    if (bareFlood.PerSecond() >= 0.95 * bareFlood.SentPerSecond()) {
        std::printf("the bare receive loop kept up with its sender: its capacity is the sender's, a lower bound\n");
    }
    if (flood.landed > 0) {
        const double perMessage = flood.seconds / double(flood.landed) * 1e6;
        const double handling = flood.handlingSeconds / double(flood.landed) * 1e6;
        std::printf("\nper message at capacity: %.1f us on the main path, %.1f us of it in the monitor's "
                    "handling (entry line and log append), %.1f us elsewhere (hand-over, record, parse)\n",
                    perMessage, handling, perMessage - handling);
    }
    // The design's serial floor: a receive and then the handling, one after
    // the other, nothing else. The saturated run shares the processors with
    // its sender; the burst is drained mostly after the sender is done.
    if (bareFlood.landed > 0) {
        const double receive = 1e6 / bareFlood.PerSecond();
        std::printf("\nserial floor (bare receive %.1f us + the run's own handling) and the share of it reached:\n",
                    receive);
        for (const auto& [name, run] : {std::pair{"saturated", &flood}, std::pair{"draining the burst", &burst}}) {
            if (run->landed == 0) continue;
            const double floor = 1e6 / (receive + run->handlingSeconds / double(run->landed) * 1e6);
            std::printf("  %-20s floor %9s /s, capacity %9s /s: %3.0f %%\n", name, Grouped(floor).c_str(),
                        Grouped(run->PerSecond()).c_str(), 100 * run->PerSecond() / floor);
        }
    }
    for (const auto& [name, run] : {std::pair{"saturated run", &flood}, std::pair{"burst", &burst}}) {
        if (run->lines != run->landed) {
            std::printf("%s: %s OnSyslog calls but %s log lines\n", name, Grouped(double(run->landed)).c_str(),
                        Grouped(double(run->lines)).c_str());
        }
    }
    if (path.Errors() > 0) std::printf("errors the listener reported: %s\n", Grouped(double(path.Errors())).c_str());
    const std::uint64_t sendFailures = flood.sendFailures + burst.sendFailures + bareFlood.sendFailures +
                                       bareBurst.sendFailures;
    if (sendFailures > 0) std::printf("sends that failed: %s\n", Grouped(double(sendFailures)).c_str());
    std::printf("whole run: %.1f s\n", std::chrono::duration<double>(SteadyClock::now() - started).count());
    return 0;
}
