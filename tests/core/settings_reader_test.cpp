#include "core/settings_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
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

namespace kestrin::core {
namespace {

// The sample config.cfg of the release says what the program does.
TEST(SampleSettingsTest, TheShippedConfigReadsAsItsCommentsSay) {
    const SettingsReader sample(files::ProgramDirectory(base::Utf8ToUtf16(KESTRIN_SAMPLE_DIR)));
    EXPECT_EQ(sample.IniLesen(kKeyPort, u"none"), kDefaultPort);
    EXPECT_EQ(sample.IniLesen(kKeyIPVersion, u"none"), kDefaultIPVersion);
    EXPECT_EQ(sample.IniLesen(kKeyIP1, u"none"), kDefaultIP1);
    EXPECT_EQ(sample.IniLesen(kKeyIP2, u"none"), kDefaultIP2);
    EXPECT_TRUE(sample.IniLesen_bool(kKeyError));
    EXPECT_TRUE(sample.IniLesen_bool(kKeyWarning));
    EXPECT_FALSE(sample.IniLesen_bool(kKeyInfos));
    EXPECT_TRUE(sample.IniLesen_bool(kKeyViewHint));
}

}  // namespace
}  // namespace kestrin::core
