#include "core/settings_reader.h"

#include "files/ini_file.h"

namespace kestrin::core {

namespace {

std::u16string SettingsFilePath(const files::ProgramDirectory& directory) {
    return directory.Join(kSettingsFileName);
}

}  // namespace

SettingsReader::SettingsReader(files::ProgramDirectory directory) : directory_(std::move(directory)) {}

std::u16string SettingsReader::IniLesen(std::u16string_view wert, std::u16string_view was) const {
    const files::TIniFile file(SettingsFilePath(directory_));
    return file.ReadString(kTextKeySection, wert, was);
}

bool SettingsReader::IniLesen_bool(std::u16string_view wert) const {
    const files::TIniFile file(SettingsFilePath(directory_));
    return file.ReadBool(kSection, wert, false);
}

void WriteViewHint(const files::ProgramDirectory& directory, bool viewHint) {
    files::TIniFile file(SettingsFilePath(directory));
    file.WriteBool(kSection, kViewHint.key, viewHint);
}

}  // namespace kestrin::core
