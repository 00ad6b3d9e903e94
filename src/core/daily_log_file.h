#pragma once
// The daily log files: every entry line goes to logfiles/syslog_<day>.txt in
// the program directory, the day being the local date of the append. The file
// is opened, written and closed for each line; nothing stays open in between.

#include <string>

#include "base/date_time.h"
#include "core/monitor_outputs.h"
#include "files/program_directory.h"

namespace kestrin::core {

// The log directory: "logfiles" in the program directory.
std::u16string LogDirectoryPath(const files::ProgramDirectory& directory);

// Creates the log directory when no directory of that name exists (one level).
// Throws EInOutError with the system's number, 183 when a file has the name.
void EnsureLogDirectory(const files::ProgramDirectory& directory);

class DailyLogFile final : public DailyLog {
public:
    // Both must outlive the log.
    DailyLogFile(const files::ProgramDirectory& directory, const base::Clock& clock);

    // Appends the line, in the ANSI code page and ending in CR LF, to the file of
    // the current local day, creating it when missing. Throws EInOutError: 3 for
    // a path over 259 characters (nothing touched), 103 when the file could not
    // be opened, else the number of the failing write or close. The file gains
    // the whole line or nothing (TextFile::AppendLines). The log directory is
    // never created here.
    void AppendLogLine(const std::u16string& line) override;

private:
    const files::ProgramDirectory& directory_;
    const base::Clock& clock_;
};

}  // namespace kestrin::core
