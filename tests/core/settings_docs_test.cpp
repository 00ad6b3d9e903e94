#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "base/text.h"
#include "core/settings_reader.h"

// The sample config.cfg and the README's settings table, as they stand in the
// source tree, name every key of kSettings with the default the program uses.

namespace kestrin::core {
namespace {

const std::filesystem::path kSourceDir = KESTRIN_SOURCE_DIR;

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.ends_with('\r')) line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// One cell of a Markdown table row, without its blanks and code quotes.
std::u16string Cell(std::string_view row, int index) {
    std::size_t begin = 0;
    for (int i = 0; i <= index; ++i) begin = row.find('|', begin) + 1;
    std::string_view cell = row.substr(begin, row.find('|', begin) - begin);
    cell = cell.substr(cell.find_first_not_of(" `"));
    cell = cell.substr(0, cell.find_last_not_of(" `") + 1);
    return base::Utf8ToUtf16(cell);
}

TEST(SettingsDocsTest, TheReadmeTableNamesEveryKeyWithItsDefault) {
    std::map<std::u16string, std::u16string> defaults;
    bool inSettings = false;
    for (const std::string& line : Lines(kSourceDir / "README.md")) {
        if (line.starts_with("## ")) inSettings = line.starts_with("## Settings");
        if (inSettings && line.starts_with("| `")) {
            EXPECT_TRUE(defaults.emplace(Cell(line, 0), Cell(line, 1)).second) << line;
        }
    }
    EXPECT_EQ(defaults.size(), kSettings.size());
    for (const Setting& setting : kSettings) {
        EXPECT_EQ(defaults[std::u16string(setting.key)], std::u16string(setting.fallback))
            << base::Utf16ToUtf8(setting.key);
    }
}

// The sample spells out the text keys' defaults and sets each switch plainly.
TEST(SettingsDocsTest, TheSampleConfigHoldsEveryKeyOnce) {
    std::size_t keyLines = 0;
    for (const std::string& line : Lines(kSourceDir / "packaging" / "config.cfg")) {
        if (!line.empty() && !line.starts_with(';') && !line.starts_with('[')) ++keyLines;
    }
    EXPECT_EQ(keyLines, kSettings.size());
    const SettingsReader sample(files::ProgramDirectory(base::Utf8ToUtf16((kSourceDir / "packaging").string())));
    for (const Setting& setting : kSettings) {
        const std::u16string value = sample.IniLesen(setting.key, u"missing");
        const bool plainSwitch = setting.kind == SettingKind::kBoolean && (value == u"0" || value == u"1");
        EXPECT_TRUE(plainSwitch || value == setting.fallback)
            << base::Utf16ToUtf8(setting.key) << "=" << base::Utf16ToUtf8(value);
    }
}

}  // namespace
}  // namespace kestrin::core
