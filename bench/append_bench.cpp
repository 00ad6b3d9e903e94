// The cost of one daily log append of a typical 200-character entry line,
// beside the floor of a bare open/write/close of the same bytes. A small
// self-timing program, so that it builds for Windows as well (Google
// Benchmark is not at hand for mingw): prints the median microseconds per
// line of each and their ratio.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "append_floor.h"
#include "base/date_time.h"
#include "core/daily_log_file.h"
#include "files/ansi_text.h"
#include "files/program_directory.h"
#include "files/text_file.h"

namespace {

constexpr std::u16string_view kEntryLine =
    u"Tue 08.12.2026 10:15:03 : router >>SYSDAEMON.Info<<<30>Dec  8 10:15:03 router dnsmasq-dhcp[412]: "
    u"DHCPACK(br0) 192.168.1.23 a4:5e:60:d2:11:9c laptop-anna lease 86400s, vendor class MSFT 5.0, hops 0 ok.";
static_assert(kEntryLine.size() == 200);

constexpr int kRounds = 41;
constexpr int kLinesPerRound = 200;

// Microseconds per line of one round.
double TimeRound(const std::function<void()>& appendOne) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kLinesPerRound; ++i) appendOne();
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / kLinesPerRound;
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    using namespace kestrin;

    const fs::path root = fs::temp_directory_path() / ("kestrin_append_bench_" + std::to_string(std::random_device{}()));
    fs::create_directories(root);
    const files::ProgramDirectory program(root.u16string());
    core::EnsureLogDirectory(program);

    core::DailyLogFile log(program, base::SystemClock());
    const std::u16string line(kEntryLine);
    const std::u16string floorPath = core::LogDirectoryPath(program) + files::kPathSeparator + u"floor.txt";
    const std::string bytes = files::ToAnsi(line) + "\r\n";
    files::TextFile::Create(floorPath).Close();

    const auto appendLine = [&] { log.AppendLogLine(line); };
    const auto bareAppend = [&] { BareAppend(floorPath, bytes); };
    TimeRound(appendLine);  // warm-up: the day's file exists from here on
    TimeRound(bareAppend);

    // Interleaved, so that a drift of the machine falls on both alike.
    std::vector<double> appendTimes, floorTimes;
    for (int round = 0; round < kRounds; ++round) {
        floorTimes.push_back(TimeRound(bareAppend));
        appendTimes.push_back(TimeRound(appendLine));
    }
    const double append = Median(appendTimes);
    const double floor = Median(floorTimes);
    std::printf("AppendLogLine (200 characters)     %8.2f us per line\n", append);
    std::printf("bare open/write/close (same bytes) %8.2f us per line\n", floor);
    std::printf("ratio                              %8.2f\n", append / floor);

    std::error_code ignored;
    fs::remove_all(root, ignored);
    return 0;
}
