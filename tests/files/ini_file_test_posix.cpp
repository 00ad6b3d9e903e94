#include <gtest/gtest.h>

#include <string>

#include "files/file_size_limit_posix.h"
#include "files/ini_file.h"
#include "files/scratch_directory.h"
#include "support/expect_error.h"

namespace kestrin::files {
namespace {

class IniFilePosixTest : public ::testing::Test {
protected:
    std::filesystem::path FilePath() const { return dir.Path() / "config.cfg"; }
    std::u16string CannotWrite() const { return u"In " + dir.Text("config.cfg") + u" kann nicht geschrieben werden"; }

    ScratchDirectory dir;
    TIniFile ini{dir.Text("config.cfg")};
};

TEST_F(IniFilePosixTest, EveryOtherLineAndThePermissionsSurviveByteForByte) {
    const std::string head =
        "; settings\r\n\r\n  [ main ]  ; ours\r\n  Port =  \"5140\"  \r\n;ViewHint=0\r\nERROR\t= 1\r\n";
    const std::string tail = "\r\n[Other]\nK=\xe4\xff\nlone\rend";
    WriteBytes(FilePath(), head + tail);
    std::filesystem::permissions(FilePath(), std::filesystem::perms(0640));

    ini.WriteBool(u"Main", u"ViewHint", true);
    EXPECT_EQ(ReadBytes(FilePath()), head + "ViewHint=1\r\n" + tail);
    EXPECT_EQ(std::filesystem::status(FilePath()).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(ini.ReadString(u"Other", u"K", u""), u"\u00e4\u00ff");
}

TEST_F(IniFilePosixTest, WriteCutShortLeavesTheOldFileAndNoLeftovers) {
    const std::string before = "[Main]\r\nIP1=" + std::string(200, 'x') + "\r\n";
    WriteBytes(FilePath(), before);
    {
        const ScopedFileSizeLimit limit(before.size() / 2);
        EXPECT_THROW_MSG(ini.WriteBool(u"Main", u"ViewHint", true), EIniFileException, CannotWrite());
    }
    EXPECT_EQ(ReadBytes(FilePath()), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(IniFilePosixTest, OversizedFileReadsAsMissingAndIsNotRewritten) {
    WriteBytes(FilePath(), "[Main]\r\nERROR=1\r\n");
    constexpr std::uintmax_t kBeyondTheLimit = 16 * 1024 * 1024 + 1;
    std::filesystem::resize_file(FilePath(), kBeyondTheLimit);  // sparse, so cheap
    EXPECT_FALSE(ini.ReadBool(u"Main", u"ERROR", false));
    EXPECT_THROW_MSG(ini.WriteBool(u"Main", u"ViewHint", true), EIniFileException, CannotWrite());
    EXPECT_EQ(std::filesystem::file_size(FilePath()), kBeyondTheLimit);
}

TEST_F(IniFilePosixTest, AFileThatCannotBeOpenedIsNeverReplaced) {
    // A link to itself: nobody, root included, opens it, but a rename would
    // put a new file in its place, holding the written key alone.
    std::filesystem::create_symlink("config.cfg", FilePath());
    EXPECT_THROW_MSG(ini.WriteBool(u"Main", u"ViewHint", true), EIniFileException, CannotWrite());
    EXPECT_TRUE(std::filesystem::is_symlink(FilePath()));
    EXPECT_EQ(std::filesystem::read_symlink(FilePath()), "config.cfg");
}

}  // namespace
}  // namespace kestrin::files
