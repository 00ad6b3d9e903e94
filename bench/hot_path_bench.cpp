// The per-datagram work on the main thread: parse a typical router message,
// then build its entry line. Reports nanoseconds per message.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <span>
#include <string_view>

#include "base/date_time.h"
#include "base/regional_formats.h"
#include "core/entry_line.h"
#include "core/time_stamp_texts.h"
#include "syslog/syslog_message.h"

namespace {

using kestrin::syslog::TIdSysLogMessage;

// 120 bytes, as a home router sends them.
constexpr std::string_view kRouterMessage =
    "<30>Dec  8 10:15:03 router dnsmasq-dhcp[412]: DHCPACK(br0) 192.168.1.23 a4:5e:60:d2:11:9c laptop-anna lease 86400s done.";

std::span<const std::byte> Bytes(std::string_view text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

void ParseMessage(benchmark::State& state) {
    for (auto _ : state) {
        TIdSysLogMessage message(u"workstation", kestrin::base::SystemClock());
        message.ReadFromBytes(Bytes(kRouterMessage), u"192.168.1.1");
        benchmark::DoNotOptimize(message);
    }
}
BENCHMARK(ParseMessage);

void ParseMessageAndBuildEntryLine(benchmark::State& state) {
    const auto& clock = kestrin::base::SystemClock();
    const auto& formats = kestrin::base::UserRegionalFormats();
    for (auto _ : state) {
        TIdSysLogMessage message(u"workstation", clock);
        message.ReadFromBytes(Bytes(kRouterMessage), u"192.168.1.1");
        auto line = kestrin::core::EntryLine(kestrin::core::TimeStampPrefix(clock.Now(), formats), message);
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(ParseMessageAndBuildEntryLine);

}  // namespace

BENCHMARK_MAIN();
