#include <gtest/gtest.h>

#include "files/text_file.h"
#include "files/todays_log.h"
#include "support/expect_error.h"
#include "support/other_program.h"

namespace kestrin::files {
namespace {

using test::OtherProgramHold;

// Another program holds today's log file open.
class TextFileSharingTest : public TodaysLogTest {};

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
