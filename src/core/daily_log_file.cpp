#include "core/daily_log_file.h"

#include "core/time_stamp_texts.h"
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
    files::AppendTextLine(path, line, files::CloseAfterFailure::kReportsItsError);
}

}  // namespace kestrin::core
