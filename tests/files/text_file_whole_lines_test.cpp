#include <gtest/gtest.h>

#include <string>

#include "files/text_file.h"
#include "files/todays_log.h"
#include "files/write_steps.h"
#include "support/expect_error.h"

namespace kestrin::files {
namespace {

const WriteSteps kSystemSteps = TextFileWriteSteps();

// A disk that fills during the write: half of the bytes go in, then it fails.
int HalfThenDiskFull(std::intptr_t handle, std::string_view bytes, std::size_t& written) {
    static_cast<void>(kSystemSteps.write(handle, bytes.substr(0, bytes.size() / 2), written));
    return kErrorDiskFull;
}

int RefusedCut(std::intptr_t, std::uint64_t) { return kErrorAccessDenied; }

int RefusedSize(std::intptr_t, std::uint64_t&) { return kErrorAccessDenied; }

class WholeLinesTest : public TodaysLogTest {
protected:
    void AppendFailingWith(WriteSteps steps, int number = kErrorDiskFull) {
        TextFileWriteSteps() = steps;
        EXPECT_THROW_MSG(log.AppendLogLine(u"lost line"), EInOutError, InOutErrorMessage(number));
        TextFileWriteSteps() = kSystemSteps;
    }
    void TearDown() override { TextFileWriteSteps() = kSystemSteps; }
};

TEST_F(WholeLinesTest, AFailedAppendLeavesTheFileAsItWas) {
    const struct {
        const char* what;
        std::string earlier;
        WriteSteps steps;
        int number;
    } cases[] = {
        {"a write that stops part way", "first\r\n", {kSystemSteps.size, HalfThenDiskFull, kSystemSteps.cut},
         kErrorDiskFull},
        // The cut goes back to before the line break that this append put first.
        {"a write after a repairing line break", "first\r\nlost ",
         {kSystemSteps.size, HalfThenDiskFull, kSystemSteps.cut}, kErrorDiskFull},
        // Without the size there is nothing safe to cut back to: nothing is written.
        {"a failed size query", "first\r\n", {RefusedSize, kSystemSteps.write, kSystemSteps.cut},
         kErrorAccessDenied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(logPath, c.earlier);
        AppendFailingWith(c.steps, c.number);
        EXPECT_EQ(ReadBytes(logPath), c.earlier);
    }
    log.AppendLogLine(u"after");
    EXPECT_EQ(ReadBytes(logPath), "first\r\nafter\r\n");
}

// Half of "lost line\r\n" stays; the next line still starts a line of its own.
TEST_F(WholeLinesTest, AfterAFailedCutTheNextLineStartsOnALineOfItsOwn) {
    AppendFailingWith({kSystemSteps.size, HalfThenDiskFull, RefusedCut});
    EXPECT_EQ(ReadBytes(logPath), "first\r\nlost ");
    log.AppendLogLine(u"after");
    EXPECT_EQ(ReadBytes(logPath), "first\r\nlost \r\nafter\r\n");
}

TEST_F(WholeLinesTest, AClosingCtrlZStaysAndTheNextLineStartsBelowIt) {
    for (const std::string earlier : {"first\r\n\x1A", "\x1A"}) {
        WriteBytes(logPath, earlier);
        log.AppendLogLine(u"after");
        EXPECT_EQ(ReadBytes(logPath), earlier + "\r\nafter\r\n");
    }
}

}  // namespace
}  // namespace kestrin::files
