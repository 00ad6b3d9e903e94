#pragma once
// The public address check as start-up (core::TForm1) reaches it: the lookup
// and the history file of this program's directory.

#include <string>
#include <vector>

#include "base/date_time.h"
#include "base/regional_formats.h"
#include "core/form_outputs.h"
#include "files/program_directory.h"

namespace kestrin::publicaddr {

class PublicAddressService final : public core::PublicAddressCheck {
public:
    // All three must outlive the service.
    PublicAddressService(const files::ProgramDirectory& directory, const base::Clock& clock,
                         const base::RegionalFormats& formats);

    std::u16string FetchPublicAddress(const std::vector<std::u16string>& serviceUrls) override;
    void AppendHistoryLine(const std::u16string& address) override;

private:
    const files::ProgramDirectory& directory_;
    const base::Clock& clock_;
    const base::RegionalFormats& formats_;
};

// The history of public addresses: ip_list.cfg in the program directory gains
// one line per start that found an address. The program only ever appends to
// it; the file is opened, written and closed for the one line.
std::u16string HistoryFilePath(const files::ProgramDirectory& directory);

// Appends the time stamp prefix of now, one space and the address, in the
// ANSI code page and ending in CR LF, creating the file when missing. Throws
// EInOutError at the first failing step: 3 for a path over 259 characters
// (nothing touched), else the system's number of the open, write or close.
// The file gains the whole line or nothing (TextFile::AppendLines).
void AppendHistoryLine(const files::ProgramDirectory& directory, const base::Clock& clock,
                       const base::RegionalFormats& formats, const std::u16string& address);

}  // namespace kestrin::publicaddr
