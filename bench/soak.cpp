// Soak run: a million datagrams of mixed, partly hostile content over
// loopback into the real kestrin.exe (under Wine here), sent as fast as the
// program takes them. Reports the throughput, the lines written against the
// lines the datagrams must give, and the program's memory at start and end.
// Errors and warnings are listed, infos are not, so the memory may grow only
// with the rows of the first two.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/running_program.h"
#include "program_log.h"
#include "net/socket_layer.h"
#include "net/udp_socket.h"

namespace {

using namespace kestrin;
using bench::Bytes;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadLimit = 1024;    // the bytes of a datagram that become text
constexpr std::size_t kBufferSize = 8192;   // longer ones are dropped whole
constexpr std::uint64_t kDefaultCount = 1'000'000;
constexpr std::size_t kBatch = 2'000;       // sent back to back, well within the receive queue

struct Datagram {
    std::vector<std::byte> bytes;
    std::uint64_t lines;   // the log lines it gives: one, plus each line feed in its text
    bool listed;           // error or warning: a list row
};

Datagram Make(std::vector<std::byte> bytes, int severity) {
    Datagram datagram{std::move(bytes), 0, severity >= 0 && (severity <= 4 || severity == 7)};
    if (datagram.bytes.size() > kBufferSize) return datagram;
    const auto text = std::span(datagram.bytes).first(std::min(datagram.bytes.size(), kReadLimit));
    datagram.lines = 1 + static_cast<std::uint64_t>(std::count(text.begin(), text.end(), std::byte{'\n'}));
    return datagram;
}

// A mix of what devices send and what an attacker might: most datagrams
// ordinary, some binary noise, some empty, some too long to take.
std::vector<Datagram> Mix() {
    std::vector<Datagram> mix;
    const char* ordinary[] = {
        "<30>Dec  8 10:15:03 router dnsmasq-dhcp[412]: DHCPACK(br0) 192.168.1.23 a4:5e:60:d2:11:9c laptop",
        "<14>Dec  8 10:15:03 nas smbd[77]: connect to service backup by user anna",
        "<134>Dec 08 10:15:03 fw01 kernel: DROP IN=eth0 SRC=198.51.100.9 DST=192.0.2.1 PROTO=TCP DPT=23",
        "<189>45: *Mar  1 00:09:39.351: %SYS-5-CONFIG_I: Configured from console by vty0",
        "<165>1 2026-12-08T10:15:03.003Z host app - ID47 [sd@1 a=\"1\"] structured",
    };
    int severity[] = {6, 6, 6, 5, 5};
    for (int i = 0; i < 5; ++i) {
        for (int copies = 0; copies < 16; ++copies) mix.push_back(Make(Bytes(ordinary[i]), severity[i]));
    }
    mix.push_back(Make(Bytes("<11>Dec  8 10:15:03 switch port 7 down"), 3));
    mix.push_back(Make(Bytes("<12>Dec  8 10:15:03 printer spooler: toner low"), 4));
    mix.push_back(Make(Bytes("<14>Dec  8 10:15:03 host app: two\nlines"), 6));
    mix.push_back(Make({}, 5));
    std::mt19937 random(20261209);
    for (int i = 0; i < 8; ++i) {
        std::vector<std::byte> noise(1 + random() % 1500);
        for (auto& b : noise) b = static_cast<std::byte>(random());
        noise[0] = std::byte{'x'};  // no PRI: a notice, not listed
        mix.push_back(Make(std::move(noise), 5));
    }
    mix.push_back(Make(std::vector<std::byte>(kBufferSize + 1, std::byte{'A'}), -1));
    return mix;
}

double MegaBytes(SIZE_T bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// The program's process, found through its task-bar window.
HANDLE OpenProgram(const test::RunningProgram& program) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(program.TaskbarWindow(), &processId);
    return ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
}

PROCESS_MEMORY_COUNTERS Memory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(process, &counters, sizeof counters);
    return counters;
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t total = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : kDefaultCount;
    net::SocketLayerUse use;
    const std::uint16_t port = test::FreeUdpPort();
    std::string settings = "Port=" + std::to_string(port);
    settings += "\r\nIPVersion=IPV4\r\nERROR=1\r\nWARNING=1\r\nInfos=0\r\nViewHint=0\r\n";
    settings += "IP1=http://127.0.0.1:9/\r\nIP2=http://127.0.0.1:9/\r\n";
    test::RunningProgram program(settings);
    if (!program.WaitUntil([&] { return std::filesystem::is_directory(program.Directory() / "logfiles"); })) {
        std::fprintf(stderr, "kestrin.exe did not start\n");
        return 1;
    }
    const HANDLE process = OpenProgram(program);
    const PROCESS_MEMORY_COUNTERS before = Memory(process);

    const std::vector<Datagram> mix = Mix();
    net::SocketHandle sender = net::CreateDatagramSocket(net::Id_IPv4);
    std::uint64_t sent = 0, expectedLines = 0, listed = 0, landed = 0;
    bench::LogLines log(program.Directory());
    const auto start = Clock::now();
    while (sent < total) {
        // A batch, then wait until the program has caught up: the receive
        // queue never overflows, so what is missing was lost in the program.
        const std::uint64_t batchEnd = std::min(total, sent + kBatch);
        for (; sent < batchEnd; ++sent) {
            const Datagram& datagram = mix[sent % mix.size()];
            net::SendToLoopback(sender.Get(), net::Id_IPv4, port, datagram.bytes);
            expectedLines += datagram.lines;
            listed += datagram.listed ? 1 : 0;
        }
        std::uint64_t previous = ~std::uint64_t{0};
        auto lastGrowth = Clock::now();
        while ((landed = log.Now()) < expectedLines) {
            if (landed != previous) previous = landed, lastGrowth = Clock::now();
            if (Clock::now() - lastGrowth > std::chrono::seconds(5) || program.Ended()) break;
            ::Sleep(5);
        }
    }
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    const PROCESS_MEMORY_COUNTERS after = Memory(process);
    ::CloseHandle(process);

    std::printf("soak: %llu datagrams into kestrin.exe over 127.0.0.1\n", static_cast<unsigned long long>(sent));
    std::printf("  throughput            %10.0f datagrams/s (%.1f s)\n", static_cast<double>(sent) / elapsed.count(),
                elapsed.count());
    std::printf("  log lines written     %10llu of %llu expected\n", static_cast<unsigned long long>(landed),
                static_cast<unsigned long long>(expectedLines));
    std::printf("  list rows asked for   %10llu\n", static_cast<unsigned long long>(listed));
    std::printf("  working set           %10.1f MiB at start, %.1f MiB at end (peak %.1f MiB)\n",
                MegaBytes(before.WorkingSetSize), MegaBytes(after.WorkingSetSize), MegaBytes(after.PeakWorkingSetSize));
    std::printf("  private bytes         %10.1f MiB at start, %.1f MiB at end\n", MegaBytes(before.PagefileUsage),
                MegaBytes(after.PagefileUsage));
    if (listed > 0) {
        std::printf("  growth per list row   %10.0f bytes\n",
                    static_cast<double>(after.PagefileUsage - before.PagefileUsage) / static_cast<double>(listed));
    }
    std::printf("  still running         %10s\n", program.Ended() ? "no" : "yes");
    const HWND taskbar = program.TaskbarWindow();
    ::PostMessageW(taskbar, WM_CLOSE, 0, 0);
    const DWORD exitCode = program.WaitForExit();
    std::printf("  exit code after close %10lu\n", exitCode);
    return landed == expectedLines && exitCode == 0 ? 0 : 1;
}
