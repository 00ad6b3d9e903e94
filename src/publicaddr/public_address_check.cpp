#include "publicaddr/public_address_check.h"

#include "publicaddr/public_address.h"

namespace kestrin::publicaddr {

PublicAddressService::PublicAddressService(const files::ProgramDirectory& directory, const base::Clock& clock,
                                           const base::RegionalFormats& formats)
    : directory_(directory), clock_(clock), formats_(formats) {}

std::u16string PublicAddressService::FetchPublicAddress(const std::vector<std::u16string>& serviceUrls) {
    return publicaddr::FetchPublicAddress(serviceUrls);
}

void PublicAddressService::AppendHistoryLine(const std::u16string& address) {
    publicaddr::AppendHistoryLine(directory_, clock_, formats_, address);
}

}  // namespace kestrin::publicaddr
