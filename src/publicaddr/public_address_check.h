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

}  // namespace kestrin::publicaddr
