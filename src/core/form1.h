#pragma once
// The main window object's logic: start-up (FormCreate), close (FormClose)
// and the listener's handler. It owns the syslog listener and reaches what the
// user sees through user_view.h, the public address check through
// form_outputs.h.

#include <string>
#include <string_view>
#include <vector>

#include "base/date_time.h"
#include "base/regional_formats.h"
#include "core/daily_log_file.h"
#include "core/form_outputs.h"
#include "core/monitor_core.h"
#include "core/settings_reader.h"
#include "core/user_view.h"
#include "files/program_directory.h"
#include "net/syslog_server.h"

namespace kestrin::core {

inline constexpr std::u16string_view kSwitchWarningText = u"Warnings and Errors are not listed, are you sure?";

// Label1's text: "Error: ON Warnings: OFF Infos: ON" and the like.
std::u16string SwitchSummary(bool errors, bool warnings, bool infos);

// The listener's port from the Port setting: the strict integer syntax
// (EConvertError otherwise), of which the low 16 bits count.
std::uint16_t PortFromSetting(std::u16string_view text);

// "IPV4" in any case of its letters is IPv4; anything else, empty included, IPv6.
net::TIdIPVersion IPVersionFromSetting(std::u16string_view text);

class TForm1 {
public:
    // Creates the components: the listener inactive, with broadcast on and
    // this object's handler. Everything passed in must outlive the object.
    TForm1(const files::ProgramDirectory& directory, const base::Clock& clock, const base::RegionalFormats& formats,
           const UserView& view, PublicAddressCheck& publicAddress);
    // Deactivates the listener first: a delivery it runs while its threads
    // end still needs the entry processing below.
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // Brings the monitor into its running state, step by step. An error ends
    // it at the failing step and reaches the caller, which shows it; what the
    // steps before set up stays.
    void FormCreate();

    // Stores the balloon switch, then deactivates the listener. A failed
    // write throws EIniFileException before the listener is touched, and the
    // caller abandons the close.
    void FormClose();

    // FormClose's first step alone, for the end of the user's session, after
    // which the system ends the process without a close.
    void StoreBalloonSwitch();

    // The listener's OnSyslog handler: entry processing for one message.
    void IdSyslogServer1Syslog(net::TIdSyslogServer& sender, syslog::TIdSysLogMessage& message,
                               net::TIdSocketHandle& binding);

    bool errors() const { return monitor_.errors; }
    bool warnings() const { return monitor_.warnings; }
    bool infos() const { return monitor_.infos; }
    // IP1 and IP2 as start-up read them.
    const std::vector<std::u16string>& ServiceUrls() const { return serviceUrls_; }

    net::TIdSyslogServer IdSyslogServer1;

private:
    const files::ProgramDirectory& directory_;
    UserView view_;
    PublicAddressCheck& publicAddress_;
    SettingsReader settings_;
    DailyLogFile dailyLog_;
    MonitorCore monitor_;
    std::vector<std::u16string> serviceUrls_;
};

}  // namespace kestrin::core
