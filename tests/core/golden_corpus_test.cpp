// Real-world datagrams from devices and senders, each with the exact entry
// line it must give: tests/core/golden/<case>.dgram holds the bytes as sent,
// <case>.line the line, in UTF-8, without a line break of its own.
// KESTRIN_GOLDEN_WRITE=1 writes the .line files from what the program makes
// now, for review, instead of comparing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/text.h"
#include "core/entry_line.h"
#include "support/fixed_clock.h"
#include "syslog/syslog_message.h"

namespace kestrin::core {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(GoldenCorpusTest, EveryDatagramGivesItsEntryLine) {
    const fs::path directory = KESTRIN_GOLDEN_DIR;
    const bool write = std::getenv("KESTRIN_GOLDEN_WRITE") != nullptr;
    FixedClock clock;
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(directory)) {
        if (entry.path().extension() != ".dgram") continue;
        ++cases;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const std::string bytes = ReadAll(entry.path());
        syslog::TIdSysLogMessage message(u"workstation", clock);
        message.ReadFromBytes(std::as_bytes(std::span(bytes.data(), bytes.size())), u"192.0.2.7");
        const std::string line = base::Utf16ToUtf8(EntryLine(u"Tue 08.12.2026 10:15:03 ", message));
        fs::path linePath = entry.path();
        linePath.replace_extension(".line");
        if (write) {
            std::ofstream(linePath, std::ios::binary) << line;
            continue;
        }
        ASSERT_TRUE(fs::exists(linePath)) << "no expected line";
        EXPECT_EQ(line, ReadAll(linePath));
    }
    EXPECT_GE(cases, 20);
}

}  // namespace
}  // namespace kestrin::core
