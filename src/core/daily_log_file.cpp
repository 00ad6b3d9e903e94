#include "core/daily_log_file.h"

#include <exception>

#include "core/time_stamp_texts.h"
#include "files/ansi_text.h"
#include "files/text_file.h"

namespace kestrin::core {

std::u16string LogDirectoryPath(const files::ProgramDirectory& directory) {
    return directory.Join(u"logfiles");
}

void EnsureLogDirectory(const files::ProgramDirectory& directory) {
    const std::u16string path = LogDirectoryPath(directory);
    if (!files::DirectoryExists(path)) files::MakeDirectory(path);
}

DailyLogFile::DailyLogFile(const files::ProgramDirectory& directory, const base::Clock& clock)
    : directory_(directory), clock_(clock) {}

void DailyLogFile::AppendLogLine(const std::u16string& line) {
    const std::u16string path =
        LogDirectoryPath(directory_) + files::kPathSeparator + u"syslog_" + DayStamp(clock_.Now()) + u".txt";
    files::CheckPathLength(path);

    // The whole line in one append, which the file either gains whole or not
    // at all.
    std::string bytes = files::ToAnsi(line);
    bytes += "\r\n";

    files::TextFile file;
    std::exception_ptr failure;
    try {
        file = files::TextFile::OpenOrCreate(path);
        file.AppendLines(bytes);
    } catch (const files::EInOutError&) {
        failure = std::current_exception();
    }
    // Runs after a failure too. When the file never opened it finds nothing to
    // close, and its error 103 is the one that leaves; a failing close likewise
    // takes the place of an earlier write error.
    file.Close();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace kestrin::core
