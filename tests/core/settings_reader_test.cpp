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
    EXPECT_EQ(settings.IniLesen(kKeyIP1, kDefaultIP1), kDefaultIP1);
    EXPECT_EQ(settings.IniLesen(kKeyPort, kDefaultPort), u"514");
    EXPECT_EQ(settings.IniLesen(kKeyIPVersion, kDefaultIPVersion), u"IPV4");
    for (const std::u16string_view key : {kKeyInfos, kKeyViewHint, kKeyWarning, kKeyError}) {
        EXPECT_FALSE(settings.IniLesen_bool(key));
    }
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
}

TEST_F(SettingsReaderTest, TextAndBooleanKeysShareTheOneSectionThatTheCloseWrites) {
    WriteBytes(SettingsFile(), "[main]\r\nPort=5140\r\nipversion=ipv6\r\nWARNING=0x1\r\nERROR=true\r\n");
    EXPECT_EQ(settings.IniLesen(kKeyPort, kDefaultPort), u"5140");
    EXPECT_EQ(settings.IniLesen(kKeyIPVersion, kDefaultIPVersion), u"ipv6");
    EXPECT_TRUE(settings.IniLesen_bool(kKeyWarning));
    EXPECT_FALSE(settings.IniLesen_bool(kKeyError));

    WriteViewHint(program, true);
    EXPECT_TRUE(settings.IniLesen_bool(kKeyViewHint));
    EXPECT_EQ(ReadBytes(SettingsFile()),
              "[main]\r\nPort=5140\r\nipversion=ipv6\r\nWARNING=0x1\r\nERROR=true\r\nViewHint=1\r\n");
}

}  // namespace
}  // namespace kestrin::core
