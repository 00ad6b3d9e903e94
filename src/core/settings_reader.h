#pragma once
// The program's settings in config.cfg beside the executable: the keys of
// kSettings, read once at start-up, and ViewHint written back at close. Every
// read and the write go through their own TIniFile, so nothing is cached in
// between.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "files/program_directory.h"

namespace kestrin::core {

inline constexpr std::u16string_view kSettingsFileName = u"config.cfg";

// The one section, headed "[Main]" when the close creates the file. Boolean
// keys are read under that spelling, text keys under "MAIN": names compare
// without regard to case, so both reach the same lines, and each profile call
// keeps passing the very name it always has.
inline constexpr std::u16string_view kSection = u"Main";
inline constexpr std::u16string_view kTextKeySection = u"MAIN";

enum class SettingKind { kText, kBoolean };

// One key of config.cfg and the value text a missing key stands for. A
// missing Boolean key reads as false, the only default IniLesen_bool knows,
// so a Boolean's is "0".
struct Setting {
    std::u16string_view key;
    SettingKind kind;
    std::u16string_view fallback;
};

// IP1 and IP2: two services that answer a plain GET with the caller's IPv4 address.
inline constexpr Setting kIP1{u"IP1", SettingKind::kText, u"https://api.ipify.org"};
inline constexpr Setting kIP2{u"IP2", SettingKind::kText, u"https://ipv4.icanhazip.com"};
inline constexpr Setting kInfos{u"Infos", SettingKind::kBoolean, u"0"};
inline constexpr Setting kViewHint{u"ViewHint", SettingKind::kBoolean, u"0"};
inline constexpr Setting kPort{u"Port", SettingKind::kText, u"514"};
inline constexpr Setting kIPVersion{u"IPVersion", SettingKind::kText, u"IPV4"};
inline constexpr Setting kWarning{u"WARNING", SettingKind::kBoolean, u"0"};
inline constexpr Setting kError{u"ERROR", SettingKind::kBoolean, u"0"};

// Every key, in the order FormCreate reads them.
inline constexpr std::array kSettings{kIP1, kIP2, kInfos, kViewHint, kPort, kIPVersion, kWarning, kError};
static_assert(std::ranges::all_of(kSettings,
                                  [](const Setting& s) { return s.kind == SettingKind::kText || s.fallback == u"0"; }),
              "IniLesen_bool reads a missing key as false");

class SettingsReader {
public:
    explicit SettingsReader(files::ProgramDirectory directory);

    // The text of key `wert` in section "MAIN", or `was` when it is missing.
    std::u16string IniLesen(std::u16string_view wert, std::u16string_view was) const;
    std::u16string IniLesen(const Setting& setting) const { return IniLesen(setting.key, setting.fallback); }

    // The Boolean of key `wert` in section "Main"; false when it is missing.
    bool IniLesen_bool(std::u16string_view wert) const;
    bool IniLesen_bool(const Setting& setting) const { return IniLesen_bool(setting.key); }

private:
    files::ProgramDirectory directory_;
};

// The close's one write: ViewHint in section "Main", "1" or "0". Throws
// EIniFileException when config.cfg cannot be written.
void WriteViewHint(const files::ProgramDirectory& directory, bool viewHint);

}  // namespace kestrin::core
