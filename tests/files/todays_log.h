#pragma once
// Today's log file (8 December 2026) in a fresh program directory, written
// through the daily log and holding the line "first".

#include <gtest/gtest.h>

#include "core/daily_log_file.h"
#include "files/scratch_directory.h"
#include "support/fixed_clock.h"

class TodaysLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(dir.Path() / "logfiles");
        log.AppendLogLine(u"first");
    }

    ScratchDirectory dir;
    const std::filesystem::path logPath = dir.Path() / "logfiles" / "syslog_8_12_26.txt";
    kestrin::files::ProgramDirectory program = dir.AsProgramDirectory();
    FixedClock clock;
    kestrin::core::DailyLogFile log{program, clock};
};
