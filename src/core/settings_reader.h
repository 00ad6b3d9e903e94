#pragma once
// The program's settings in config.cfg beside the executable: eight keys read
// once at start-up, and ViewHint written back at close. Every read and the
// write go through their own TIniFile, so nothing is cached in between.

#include <string>
#include <string_view>

#include "files/program_directory.h"

namespace kestrin::core {

inline constexpr std::u16string_view kSettingsFileName = u"config.cfg";

// Text keys are read under "MAIN", Boolean keys under "Main"; names compare
// without regard to case, so both address the one section.
inline constexpr std::u16string_view kTextSection = u"MAIN";
inline constexpr std::u16string_view kBoolSection = u"Main";

inline constexpr std::u16string_view kKeyIP1 = u"IP1";
inline constexpr std::u16string_view kKeyIP2 = u"IP2";
inline constexpr std::u16string_view kKeyInfos = u"Infos";
inline constexpr std::u16string_view kKeyViewHint = u"ViewHint";
inline constexpr std::u16string_view kKeyPort = u"Port";
inline constexpr std::u16string_view kKeyIPVersion = u"IPVersion";
inline constexpr std::u16string_view kKeyWarning = u"WARNING";
inline constexpr std::u16string_view kKeyError = u"ERROR";

// Two services that answer a plain GET with the caller's IPv4 address.
inline constexpr std::u16string_view kDefaultIP1 = u"https://api.ipify.org";
inline constexpr std::u16string_view kDefaultIP2 = u"https://ipv4.icanhazip.com";
inline constexpr std::u16string_view kDefaultPort = u"514";
inline constexpr std::u16string_view kDefaultIPVersion = u"IPV4";

class SettingsReader {
public:
    explicit SettingsReader(files::ProgramDirectory directory);

    // The text of key `wert` in section "MAIN", or `was` when it is missing.
    std::u16string IniLesen(std::u16string_view wert, std::u16string_view was) const;

    // The Boolean of key `wert` in section "Main"; false when it is missing.
    bool IniLesen_bool(std::u16string_view wert) const;

private:
    files::ProgramDirectory directory_;
};

// The close's one write: ViewHint in section "Main", "1" or "0". Throws
// EIniFileException when config.cfg cannot be written.
void WriteViewHint(const files::ProgramDirectory& directory, bool viewHint);

}  // namespace kestrin::core
