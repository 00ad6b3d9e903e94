#pragma once
// Value types and error texts of a syslog message (RFC 3164: PRI = facility * 8 + severity).

#include <cstdint>
#include <string_view>

#include "base/exception.h"

namespace kestrin::syslog {

using TIdSyslogPRI = std::uint8_t;  // 0..191

inline constexpr TIdSyslogPRI kMaxPri = 191;
inline constexpr TIdSyslogPRI kDefaultPri = 13;  // user-level notice

enum TIdSyslogFacility : std::uint8_t {
    sfKernel,
    sfUserLevel,
    sfMailSystem,
    sfSystemDaemon,
    sfSecurityOne,
    sfSysLogInternal,
    sfLPR,
    sfNNTP,
    sfUUCP,
    sfClockDaemonOne,
    sfSecurityTwo,
    sfFTPDaemon,
    sfNTP,
    sfLogAudit,
    sfLogAlert,
    sfClockDaemonTwo,
    sfLocalUseZero,
    sfLocalUseOne,
    sfLocalUseTwo,
    sfLocalUseThree,
    sfLocalUseFour,
    sfLocalUseFive,
    sfLocalUseSix,
    sfLocalUseSeven,
};

enum TIdSyslogSeverity : std::uint8_t {
    slEmergency,
    slAlert,
    slCritical,
    slError,
    slWarning,
    slNotice,
    slInformational,
    slDebug,
};

// A syslog text or field value that the record refuses. Inside the parser
// these are caught by the step that raised them and replaced by defaults.
class EInvalidSyslogMessage : public base::Exception {
public:
    using Exception::Exception;
};

inline constexpr std::u16string_view kInvalidPriPartText = u"Ungültige Syslog-Botschaft: Inkorrekter PRI-Abschnitt";
inline constexpr std::u16string_view kInvalidPriNumberText = u"Ungültige Syslog-Botschaft: Inkorrekte PRI-Nummer \"%s\"";
inline constexpr std::u16string_view kInvalidTimeStampText =
    u"Ungültige Syslog-Botschaft: Ungültiger Zeitstempel \"%s\"";
inline constexpr std::u16string_view kInvalidHostNameText =
    u"Ungültiger Host-Name. Ein SYSLOG-Host-Name darf keine Leerzeichen enthalten (\"%s\")+";

}  // namespace kestrin::syslog
