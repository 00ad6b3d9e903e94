#include "core/daily_log_file.h"

#include <gtest/gtest.h>

#include <string>

#include "files/in_out_error.h"
#include "files/scratch_directory.h"
#include "support/expect_error.h"
#include "support/fixed_clock.h"

namespace kestrin::core {
namespace {

using files::EInOutError;

class DailyLogFileTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(logDirectory); }
    std::string Content(const char* name) const { return ReadBytes(logDirectory / name); }

    ScratchDirectory dir;
    const std::filesystem::path logDirectory = dir.Path() / "logfiles";
    files::ProgramDirectory program = dir.AsProgramDirectory();
    FixedClock clock{{2026, 12, 8, 23, 59, 59, 999}};
    DailyLogFile log{program, clock};
};

TEST_F(DailyLogFileTest, EachDayHasItsFileWithOneLinePerAppend) {
    log.AppendLogLine(u"Tue 08.12.2026 23:59:59 : router >>SYSDAEMON.Info<<<30>hello");
    EXPECT_EQ(Content("syslog_8_12_26.txt"), "Tue 08.12.2026 23:59:59 : router >>SYSDAEMON.Info<<<30>hello\r\n");
    log.AppendLogLine(u"");
    clock.Set({2026, 12, 9, 0, 0, 0, 0});
    log.AppendLogLine(u"after midnight");
    EXPECT_EQ(Content("syslog_8_12_26.txt"), "Tue 08.12.2026 23:59:59 : router >>SYSDAEMON.Info<<<30>hello\r\n\r\n");
    EXPECT_EQ(Content("syslog_9_12_26.txt"), "after midnight\r\n");
}

TEST_F(DailyLogFileTest, CharactersOutsideTheCodePageAreReplaced) {
    log.AppendLogLine(u"a\u4E2Db\U0001F600c\r\n");
    EXPECT_EQ(Content("syslog_8_12_26.txt"), "a?b??c\r\n\r\n");
}

TEST_F(DailyLogFileTest, ExistingBytesAreKeptWhole) {
    const std::string earlier = std::string("old\x1A", 4) + "line\r\n" + std::string(200, '\x1A') + "\r\n";
    WriteBytes(logDirectory / "syslog_8_12_26.txt", earlier);
    log.AppendLogLine(u"new");
    EXPECT_EQ(Content("syslog_8_12_26.txt"), earlier + "new\r\n");
}

TEST_F(DailyLogFileTest, AFileThatCannotBeOpenedIs103UntilItCan) {
    std::filesystem::remove(logDirectory);
    EXPECT_THROW_MSG(log.AppendLogLine(u"dropped"), EInOutError, u"E/A-Fehler 103");
    std::filesystem::create_directories(logDirectory / "syslog_8_12_26.txt");
    EXPECT_THROW_MSG(log.AppendLogLine(u"dropped"), EInOutError, u"E/A-Fehler 103");
    std::filesystem::remove(logDirectory / "syslog_8_12_26.txt");
    log.AppendLogLine(u"back");
    EXPECT_EQ(Content("syslog_8_12_26.txt"), "back\r\n");
}

// 259 characters still reach the file system, where the missing directory
// fails them; one more is refused before anything is touched.
TEST_F(DailyLogFileTest, PathsOver259CharactersAreAnInvalidFileName) {
    const std::size_t tail = std::u16string_view(u"logfiles/syslog_8_12_26.txt").size();
    for (const std::size_t length : {259, 260}) {
        const std::size_t padding = length - program.Path().size() - tail - 1;  // 1 for the separator
        const files::ProgramDirectory deep(program.Path() + std::u16string(padding, u'd'));
        DailyLogFile deepLog(deep, clock);
        EXPECT_THROW_MSG(deepLog.AppendLogLine(u"x"), EInOutError,
                         length == 259 ? u"E/A-Fehler 103" : u"Ungültiger Dateiname");
    }
    EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(dir.Path()), {}), 1);
}

TEST_F(DailyLogFileTest, EnsureLogDirectoryCreatesOnlyWhatIsMissing) {
    WriteBytes(logDirectory / "syslog_1_1_26.txt", "kept\r\n");
    EnsureLogDirectory(program);
    EXPECT_EQ(Content("syslog_1_1_26.txt"), "kept\r\n");
    std::filesystem::remove_all(logDirectory);
    EnsureLogDirectory(program);
    EXPECT_TRUE(std::filesystem::is_directory(logDirectory));
    std::filesystem::remove(logDirectory);
    WriteBytes(logDirectory, "a file");
    EXPECT_THROW_MSG(EnsureLogDirectory(program), EInOutError, u"E/A-Fehler 183");
}

}  // namespace
}  // namespace kestrin::core
