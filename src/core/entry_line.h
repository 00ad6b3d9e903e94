#pragma once
// How a syslog message is written as an entry line and sorted into a
// severity class: "<prefix>: router >>SYSDAEMON.Info<<<30>Dec  8 10:15:03 router ...".

#include <string>
#include <string_view>

#include "syslog/syslog_message.h"

namespace kestrin::core {

// Which switch decides whether a message is shown.
enum class SeverityClass { errors, warnings, infos };

// Errors 0..3, warnings 4 and 7 (debug goes with warnings), infos 5 and 6.
SeverityClass SeverityClassOf(syslog::TIdSyslogSeverity severity);

// ".Emergency" … ".Debug".
std::u16string_view SeveritySuffix(syslog::TIdSyslogSeverity severity);

// "Kernel", "User", " MAIL" … ; "Local" for all eight local-use facilities.
std::u16string_view FacilityLabel(syslog::TIdSyslogFacility facility);

// prefix ": " Hostname " >>" label suffix "<<" RawMessage, nothing escaped or cut.
std::u16string EntryLine(std::u16string_view timeStampPrefix, const syslog::TIdSysLogMessage& message);

}  // namespace kestrin::core
