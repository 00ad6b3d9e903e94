#include <gtest/gtest.h>

#include "core/daily_log_file.h"
#include "files/other_program.h"
#include "files/scratch_directory.h"
#include "files/text_file.h"
#include "support/expect_error.h"
#include "support/fixed_clock.h"

namespace kestrin::files {
namespace {

// Another program holds today's log file (8 December 2026) open.
class TextFileSharingTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(dir.Path() / "logfiles");
        log.AppendLogLine(u"first");
    }

    ScratchDirectory dir;
    const std::filesystem::path logPath = dir.Path() / "logfiles" / "syslog_8_12_26.txt";
    ProgramDirectory program = dir.AsProgramDirectory();
    FixedClock clock;
    core::DailyLogFile log{program, clock};
};

TEST_F(TextFileSharingTest, AnotherWriterMakesTheAppendFailUntilItCloses) {
    {
        const OtherProgramHold writer(logPath, OtherProgramHold::kWriter);
        EXPECT_THROW_MSG(TextFile::OpenForAppend(logPath.u16string()), EInOutError, u"E/A-Fehler 32");
        EXPECT_THROW_MSG(TextFile::Create(logPath.u16string()), EInOutError, u"E/A-Fehler 32");
        EXPECT_THROW_MSG(log.AppendLogLine(u"dropped"), EInOutError, u"E/A-Fehler 103");
    }
    log.AppendLogLine(u"second");
    EXPECT_EQ(ReadBytes(logPath), "first\r\nsecond\r\n");
}

TEST_F(TextFileSharingTest, AReaderDoesNotHinderTheAppend) {
    const OtherProgramHold reader(logPath, OtherProgramHold::kReader);
    log.AppendLogLine(u"second");
    EXPECT_EQ(ReadBytes(logPath), "first\r\nsecond\r\n");
}

}  // namespace
}  // namespace kestrin::files
