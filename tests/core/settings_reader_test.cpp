#include "core/settings_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "files/scratch_directory.h"

namespace kestrin::core {
namespace {

class SettingsReaderTest : public ::testing::Test {
protected:
    std::filesystem::path SettingsFile() const { return dir.Path() / "config.cfg"; }

    ScratchDirectory dir;
    files::ProgramDirectory program = dir.AsProgramDirectory();
    SettingsReader settings{program};
};

TEST_F(SettingsReaderTest, NoSettingsFileGivesEveryDefaultAndCreatesNothing) {
    for (const Setting& setting : kSettings) {
        if (setting.kind == SettingKind::kText) {
            EXPECT_EQ(settings.IniLesen(setting), setting.fallback);
        } else {
            EXPECT_FALSE(settings.IniLesen_bool(setting));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(SettingsReaderTest, TextAndBooleanKeysShareTheOneSectionThatTheCloseWrites) {
    WriteBytes(SettingsFile(), "[main]\r\nPort=5140\r\nipversion=ipv6\r\nWARNING=0x1\r\nERROR=true\r\n");
    EXPECT_EQ(settings.IniLesen(kPort), u"5140");
    EXPECT_EQ(settings.IniLesen(kIPVersion), u"ipv6");
    EXPECT_TRUE(settings.IniLesen_bool(kWarning));
    EXPECT_FALSE(settings.IniLesen_bool(kError));

    WriteViewHint(program, true);
    EXPECT_TRUE(settings.IniLesen_bool(kViewHint));
    EXPECT_EQ(ReadBytes(SettingsFile()),
              "[main]\r\nPort=5140\r\nipversion=ipv6\r\nWARNING=0x1\r\nERROR=true\r\nViewHint=1\r\n");
}

}  // namespace
}  // namespace kestrin::core
