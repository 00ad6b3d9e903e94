#include "publicaddr/public_address_check.h"

#include "core/time_stamp_texts.h"
#include "files/text_file.h"

namespace kestrin::publicaddr {

std::u16string HistoryFilePath(const files::ProgramDirectory& directory) { return directory.Join(u"ip_list.cfg"); }

void AppendHistoryLine(const files::ProgramDirectory& directory, const base::Clock& clock,
                       const base::RegionalFormats& formats, const std::u16string& address) {
    files::AppendTextLine(HistoryFilePath(directory), core::TimeStampPrefix(clock.Now(), formats) + u' ' + address,
                          files::CloseAfterFailure::kQuiet);
}

}  // namespace kestrin::publicaddr
