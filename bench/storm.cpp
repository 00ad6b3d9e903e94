// A storm as a user meets it: datagrams back to back from one firewall into
// the real kestrin.exe, run inside Wine's desktop with its notification area
// (`make storm`), so that its balloons reach a shell. The same storm in
// three programs: infos that are not listed, errors listed with the balloons
// off, and with them on; then the cost of the balloons' clearing, as the
// delay of one datagram sent just after it. Writes its report to the file it is given
// (a program started in that desktop has no console of its own).

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/running_program.h"
#include "program_log.h"
#include "net/socket_layer.h"
#include "net/udp_socket.h"

namespace {

using namespace kestrin;
using bench::Bytes;
using bench::LogLines;
using Clock = std::chrono::steady_clock;

constexpr int kStorm = 5'000;
// Storms per case, one after the other into the same program: the median counts.
constexpr int kRounds = 5;
// The balloons go 5 s after the latest one: the datagram after the storm
// comes a little later, when their clearing has begun.
constexpr auto kAfterClearing = std::chrono::milliseconds(5'300);

struct Storm {
    const char* name;
    const char* switches;
    const char* message;
    bool clearing;  // also measure the datagram after the balloons' clearing
};

class Report {
public:
    explicit Report(const char* path) : out_(std::fopen(path, "w")) {}
    ~Report() {
        if (out_ != nullptr) std::fclose(out_);
    }
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;
    template <typename... Arguments>
    void Line(const char* format, Arguments... arguments) {
        if (out_ == nullptr) return;
        std::fprintf(out_, format, arguments...);
        std::fflush(out_);
    }

private:
    std::FILE* out_;
};

// Waits until the log holds `lines` lines; the seconds it took, or -1 when it stopped growing.
double WaitForLines(const test::RunningProgram& program, LogLines& log, std::uint64_t lines, Clock::time_point since) {
    std::uint64_t previous = 0;
    auto lastGrowth = Clock::now();
    for (std::uint64_t now = log.Now(); now < lines; now = log.Now()) {
        if (now != previous) previous = now, lastGrowth = Clock::now();
        if (Clock::now() - lastGrowth > std::chrono::seconds(10) || program.Ended()) return -1;
        ::Sleep(1);
    }
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void Run(const Storm& storm, Report& report) {
    const std::uint16_t port = test::FreeUdpPort();
    // No address lookup: the first line landed means the start is over and the icon is in the tray.
    test::RunningProgram program("Port=" + std::to_string(port) + "\r\nIPVersion=IPV4\r\n" + storm.switches +
                                 "IP1=\r\nIP2=\r\n");
    LogLines log(program.Directory());
    const auto message = Bytes(storm.message);
    net::SocketHandle sender = net::CreateDatagramSocket(net::Id_IPv4);
    // Its port is bound once the log folder exists.
    const bool started = program.WaitUntil([&] { return std::filesystem::is_directory(program.Directory() / "logfiles"); });
    if (started) net::SendToLoopback(sender.Get(), net::Id_IPv4, port, message);
    if (!started || WaitForLines(program, log, 1, Clock::now()) < 0) {
        report.Line("%-36s kestrin.exe did not start\n", storm.name);
        return;
    }
    std::vector<double> rounds;
    for (int round = 1; round <= kRounds; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < kStorm; ++i) net::SendToLoopback(sender.Get(), net::Id_IPv4, port, message);
        const double seconds = WaitForLines(program, log, 1 + std::uint64_t{kStorm} * round, start);
        if (seconds < 0) {
            report.Line("%-36s round %d: %llu of %d lines\n", storm.name, round,
                        static_cast<unsigned long long>(log.Now() - 1), kStorm * round);
            return;
        }
        rounds.push_back(seconds / kStorm * 1e6);
    }
    std::sort(rounds.begin(), rounds.end());
    const double median = rounds[rounds.size() / 2];
    report.Line("%-36s %8.0f /s  %7.1f us a message (median of %d; %.1f to %.1f)\n", storm.name, 1e6 / median,
                median, kRounds, rounds.front(), rounds.back());
    if (storm.clearing) {
        ::Sleep(static_cast<DWORD>(kAfterClearing.count()));
        const auto sent = Clock::now();
        net::SendToLoopback(sender.Get(), net::Id_IPv4, port, message);
        const double seconds = WaitForLines(program, log, 2 + std::uint64_t{kStorm} * kRounds, sent);
        if (seconds < 0) {
            report.Line("  one datagram 5.3 s after the storm: no line after 10 s\n");
        } else {
            report.Line("  one datagram 5.3 s after the storm: %.0f ms from its send to its line\n", seconds * 1e3);
        }
    }
    ::PostMessageW(program.TaskbarWindow(), WM_CLOSE, 0, 0);
    program.WaitForExit();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: storm REPORT_FILE\n");
        return 2;
    }
    Report report(argv[1]);
    net::SocketLayerUse use;
    report.Line("storm of %d datagrams back to back into kestrin.exe over 127.0.0.1\n", kStorm);
    const char* info = "<14>Dec 11 10:15:03 fw01 kernel: ACCEPT IN=eth0 SRC=198.51.100.9 DST=192.0.2.1 PROTO=TCP";
    const char* error = "<11>Dec 11 10:15:03 fw01 kernel: DROP IN=eth0 SRC=198.51.100.9 DST=192.0.2.1 PROTO=TCP";
    const Storm storms[] = {
        {"infos, not listed", "ERROR=1\r\nWARNING=1\r\nInfos=0\r\nViewHint=1\r\n", info, false},
        {"errors, listed, balloons off", "ERROR=1\r\nWARNING=1\r\nInfos=0\r\nViewHint=0\r\n", error, false},
        {"errors, listed, balloons on", "ERROR=1\r\nWARNING=1\r\nInfos=0\r\nViewHint=1\r\n", error, true},
    };
    for (const Storm& storm : storms) Run(storm, report);
    return 0;
}
