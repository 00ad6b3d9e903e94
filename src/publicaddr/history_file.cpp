#include "publicaddr/history_file.h"

#include "core/time_stamp_texts.h"
#include "files/ansi_text.h"
#include "files/text_file.h"

namespace kestrin::publicaddr {

std::u16string HistoryFilePath(const files::ProgramDirectory& directory) { return directory.Join(u"ip_list.cfg"); }

void AppendHistoryLine(const files::ProgramDirectory& directory, const base::Clock& clock,
                       const base::RegionalFormats& formats, const std::u16string& address) {
    const std::u16string path = HistoryFilePath(directory);
    files::CheckPathLength(path);

    // One append for the whole line, converted before the file is touched.
    std::string bytes = files::ToAnsi(core::TimeStampPrefix(clock.Now(), formats) + u' ' + address);
    bytes += "\r\n";

    // The file gains the whole line or nothing; a failing append leaves the
    // file to the destructor, which closes it quietly.
    files::TextFile file = files::TextFile::OpenOrCreate(path);
    file.AppendLines(bytes);
    file.Close();
}

}  // namespace kestrin::publicaddr
