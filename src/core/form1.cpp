#include "core/form1.h"

#include "base/integer_text.h"
#include "base/text.h"

namespace kestrin::core {

std::u16string SwitchSummary(bool errors, bool warnings, bool infos) {
    std::u16string summary;
    summary += errors ? u"Error: ON" : u"Error: OFF";
    summary += warnings ? u" Warnings: ON" : u" Warnings: OFF";
    summary += infos ? u" Infos: ON" : u" Infos: OFF";
    return summary;
}

std::uint16_t PortFromSetting(std::u16string_view text) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(base::ParseInteger(text)) & 0xFFFFu);
}

net::TIdIPVersion IPVersionFromSetting(std::u16string_view text) {
    return base::SameIgnoringAsciiCase(text, u"IPV4") ? net::Id_IPv4 : net::Id_IPv6;
}

TForm1::TForm1(const files::ProgramDirectory& directory, const base::Clock& clock,
               const base::RegionalFormats& formats, const UserView& view, PublicAddressCheck& publicAddress)
    : IdSyslogServer1(clock),
      directory_(directory),
      view_(view),
      publicAddress_(publicAddress),
      settings_(directory),
      dailyLog_(directory, clock),
      monitor_(view, dailyLog_, clock, formats) {
    IdSyslogServer1.Name = u"IdSyslogServer1";
    IdSyslogServer1.SetBroadcastEnabled(true);
    IdSyslogServer1.OnSyslog = [this](net::TIdSyslogServer& sender, syslog::TIdSysLogMessage& message,
                                      net::TIdSocketHandle& binding) {
        IdSyslogServer1Syslog(sender, message, binding);
    };
}

TForm1::~TForm1() {
    IdSyslogServer1.SetActive(false);
}

void TForm1::FormCreate() {
    view_.presence.RegisterMinimiseHook();
    serviceUrls_.clear();
    serviceUrls_.push_back(settings_.IniLesen(kIP1));
    serviceUrls_.push_back(settings_.IniLesen(kIP2));
    monitor_.infos = settings_.IniLesen_bool(kInfos);
    const bool viewHint = settings_.IniLesen_bool(kViewHint);
    IdSyslogServer1.DefaultPort = PortFromSetting(settings_.IniLesen(kPort));
    IdSyslogServer1.IPVersion = IPVersionFromSetting(settings_.IniLesen(kIPVersion));
    IdSyslogServer1.SetActive(true);
    monitor_.warnings = settings_.IniLesen_bool(kWarning);
    monitor_.errors = settings_.IniLesen_bool(kError);
    view_.controls.SetBalloonSwitch(viewHint);
    // Infos alone would leave the list all but empty of what matters. A close
    // asked for under the warning ends start-up here: no icon, no lookup.
    if (!monitor_.errors && !monitor_.warnings &&
        !view_.controls.ShowSwitchWarning(std::u16string(kSwitchWarningText))) {
        return;
    }
    view_.controls.SetSwitchSummary(SwitchSummary(monitor_.errors, monitor_.warnings, monitor_.infos));
    EnsureLogDirectory(directory_);
    view_.presence.ActivateTrayIcon();
    view_.presence.HideApplication();
    view_.presence.HideMainWindow();
    const std::u16string address = publicAddress_.FetchPublicAddress(serviceUrls_);
    if (!address.empty()) {
        publicAddress_.AppendHistoryLine(address);
        view_.controls.SetPublicAddress(address);
    }
}

void TForm1::FormClose() {
    StoreBalloonSwitch();
    IdSyslogServer1.SetActive(false);
}

void TForm1::StoreBalloonSwitch() {
    WriteViewHint(directory_, view_.controls.BalloonSwitch());
}

void TForm1::IdSyslogServer1Syslog(net::TIdSyslogServer&, syslog::TIdSysLogMessage& message, net::TIdSocketHandle&) {
    monitor_.IdSyslogServer1Syslog(message);
}

}  // namespace kestrin::core
