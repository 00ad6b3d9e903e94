#include "core/entry_line.h"

#include <array>

namespace kestrin::core {

namespace {

using syslog::TIdSyslogFacility;
using syslog::TIdSyslogSeverity;

constexpr std::array<std::u16string_view, 8> kSeveritySuffixes{
    u".Emergency", u".Alert", u".Critical", u".Error", u".Warning", u".Notice", u".Info", u".Debug",
};

constexpr std::array<SeverityClass, 8> kSeverityClasses{
    SeverityClass::errors, SeverityClass::errors,   SeverityClass::errors, SeverityClass::errors,
    SeverityClass::warnings, SeverityClass::infos, SeverityClass::infos,  SeverityClass::warnings,
};

// " MAIL" really starts with a space: log readers and filters rely on the exact label.
constexpr std::array<std::u16string_view, 16> kFacilityLabels{
    u"Kernel",   u"User", u" MAIL", u"SYSDAEMON", u"SECURITY1", u"INTERNAL", u"LPR",      u"NNTP",
    u"UUCP",     u"CLOCK1", u"SECURITY2", u"FTP", u"NTP",       u"LOGAUDIT", u"LOGALERT", u"CLOCK2",
};
constexpr std::u16string_view kLocalFacilityLabel = u"Local";

}  // namespace

SeverityClass SeverityClassOf(TIdSyslogSeverity severity) {
    return kSeverityClasses.at(severity);
}

std::u16string_view SeveritySuffix(TIdSyslogSeverity severity) {
    return kSeveritySuffixes.at(severity);
}

std::u16string_view FacilityLabel(TIdSyslogFacility facility) {
    return facility < kFacilityLabels.size() ? kFacilityLabels[facility] : kLocalFacilityLabel;
}

std::u16string EntryLine(std::u16string_view timeStampPrefix, const syslog::TIdSysLogMessage& message) {
    const std::u16string_view label = FacilityLabel(message.Facility());
    const std::u16string_view suffix = SeveritySuffix(message.Severity());
    std::u16string line;
    line.reserve(timeStampPrefix.size() + message.Hostname().size() + label.size() + suffix.size() +
                 message.RawMessage().size() + 8);
    line += timeStampPrefix;
    line += u": ";
    line += message.Hostname();
    line += u" >>";
    line += label;
    line += suffix;
    line += u"<<";
    line += message.RawMessage();
    return line;
}

}  // namespace kestrin::core
