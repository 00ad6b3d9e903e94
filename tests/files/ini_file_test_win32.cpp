#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "files/ini_file.h"
#include "files/scratch_directory.h"
#include "support/expect_error.h"
#include "support/other_program.h"

namespace kestrin::files {
namespace {

TEST(IniFileWin32Test, FileHeldByAnotherProgramReadsAsMissingAndIsLeftAsItWas) {
    const ScratchDirectory dir;
    const std::filesystem::path path = dir.Path() / "config.cfg";
    WriteBytes(path, "[Main]\r\nViewHint=0\r\n");
    TIniFile ini(dir.Text("config.cfg"));

    {
        // Opened without sharing, as another program might hold it.
        const test::OtherProgramHold held(path, test::OtherProgramHold::kExclusive);
        EXPECT_EQ(ini.ReadString(u"Main", u"ViewHint", u"none"), u"none");
        EXPECT_THROW_MSG(ini.WriteBool(u"Main", u"ViewHint", true), EIniFileException,
                         u"In " + dir.Text("config.cfg") + u" kann nicht geschrieben werden");
    }
    EXPECT_EQ(ReadBytes(path), "[Main]\r\nViewHint=0\r\n");
}

}  // namespace
}  // namespace kestrin::files
