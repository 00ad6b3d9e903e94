#include <gtest/gtest.h>

#include <string>

#include "core/daily_log_file.h"
#include "files/file_size_limit_posix.h"
#include "files/scratch_directory.h"
#include "files/text_file.h"
#include "files/todays_log.h"
#include "support/expect_error.h"
#include "support/fixed_clock.h"

namespace kestrin::files {
namespace {

// /dev/full takes no byte: every write to it fails with ENOSPC. The file
// opened, so the write's own number leaves the append, not 103.
TEST(TextFilePosixTest, AFailedWriteLeavesItsOwnNumberAfterTheClose) {
    ScratchDirectory dir;
    std::filesystem::create_directory(dir.Path() / "logfiles");
    std::filesystem::create_symlink("/dev/full", dir.Path() / "logfiles" / "syslog_8_12_26.txt");
    const ProgramDirectory program = dir.AsProgramDirectory();
    const FixedClock clock;
    core::DailyLogFile log(program, clock);
    EXPECT_THROW_MSG(log.AppendLogLine(u"line"), EInOutError, u"E/A-Fehler 112");
}

// The limit lets part of the line in, as a disk that fills meanwhile would;
// the next write fails with EFBIG. The part that went in is cut off again.
class TextFilePosixLogTest : public TodaysLogTest {};

TEST_F(TextFilePosixLogTest, AnAppendCutShortLeavesOnlyWholeLines) {
    {
        const ScopedFileSizeLimit limit(std::filesystem::file_size(logPath) + 5);
        EXPECT_THROW_MSG(log.AppendLogLine(u"while the disk is full"), EInOutError, u"E/A-Fehler 223");
    }
    EXPECT_EQ(ReadBytes(logPath), "first\r\n");
    log.AppendLogLine(u"after");
    EXPECT_EQ(ReadBytes(logPath), "first\r\nafter\r\n");
}

TEST(TextFilePosixTest, AnOverLongNameIsAnInvalidFileName) {
    ScratchDirectory dir;
    EXPECT_THROW_MSG(TextFile::Create(dir.Text(std::string(300, 'n'))), EInOutError, u"Ungültiger Dateiname");
}

}  // namespace
}  // namespace kestrin::files
