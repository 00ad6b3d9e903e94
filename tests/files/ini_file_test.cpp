#include "files/ini_file.h"

#include <gtest/gtest.h>

#include <string>

#include "files/scratch_directory.h"
#include "support/expect_error.h"
#include "support/trace.h"

// These run on both platforms: on Windows against the system's profile
// functions, so they hold only what both platforms do alike.

namespace kestrin::files {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::filesystem::path FilePath() const { return dir.Path() / "config.cfg"; }
    void Store(const std::string& bytes) const { WriteBytes(FilePath(), bytes); }
    std::string Stored() const { return ReadBytes(FilePath()); }

    ScratchDirectory dir;
    TIniFile ini{dir.Text("config.cfg")};
};

TEST_F(IniFileTest, ReadsNamesWithoutRegardToCaseAndTakesOffBlanksAndQuotes) {
    Store("[main]\r\nPort=\"514\"\r\n  IPVersion  =  ipv6  \r\nviewhint=1\r\nIP1='https://example.net/ip'\r\n"
          "IP2=\"half quoted\r\nPort2=\"514'\r\nInfos=\r\nInfos=1\r\nEquals=a = b\r\n"
          "[Other]\r\nWARNING=1\r\n[MAIN]\r\nERROR=1\r\n");
    struct Case {
        std::u16string_view section, key, expected;
    };
    const Case cases[] = {
        {u"MAIN", u"Port", u"514"},
        {u"Main", u"PORT", u"514"},
        {u"MAIN", u"IPVersion", u"ipv6"},
        {u"Main", u"ViewHint", u"1"},
        {u"MAIN", u"IP1", u"https://example.net/ip"},
        {u"MAIN", u"IP2", u"\"half quoted"},
        {u"MAIN", u"Port2", u"\"514'"},  // quotes that differ are no pair
        {u"MAIN", u"Infos", u""},  // the first of two wins, even when empty
        {u"MAIN", u"Equals", u"a = b"},
        {u"MAIN", u"WARNING", u"default"},  // belongs to another section
        {u"MAIN", u"ERROR", u"default"},    // only the first section of a name counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(std::u16string(c.section) + u"/" + std::u16string(c.key)));
        EXPECT_EQ(ini.ReadString(c.section, c.key, u"default"), c.expected);
    }
}

TEST_F(IniFileTest, BooleansAreLenientIntegersAndNonZeroIsTrue) {
    const std::pair<std::string, bool> cases[] = {
        {"1", true},  {"0x1", true},   {"-1", true},   {"2", true},  {"$10", true}, {"0x10", true}, {"0", false},
        {"$0", false}, {"true", false}, {"yes", false}, {"on", false}, {"", false},  {"1 2", false},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        Store("[Main]\r\nERROR=" + value + "\r\n");
        EXPECT_EQ(ini.ReadBool(u"Main", u"ERROR", false), expected);
    }
    Store("[Main]\r\nERROR=true\r\n");
    EXPECT_TRUE(ini.ReadBool(u"Main", u"ERROR", true));  // not a number: the caller's default
}

TEST_F(IniFileTest, LongValuesAreCutTo2047Characters) {
    const std::string longest(kMaxIniValueLength, 'a');
    Store("[Main]\r\nExact=" + longest + "\r\nLong=" + longest + "bcd\r\nQuoted=\"" + longest + "bcd\"\r\n");
    for (const std::u16string_view key : {u"Exact", u"Long", u"Quoted"}) {
        EXPECT_EQ(ini.ReadString(u"Main", key, u""), std::u16string(kMaxIniValueLength, u'a'));
    }
}

TEST_F(IniFileTest, WriteUpdatesTheKeyInTheSectionOfAnyCaseOrAddsIt) {
    const std::string headings[] = {"[Main]", "[MAIN]", "[main]"};
    for (const std::string& heading : headings) {
        SCOPED_TRACE(heading);
        Store(heading + "\r\nPort=5140\r\nviewhint=0\r\nERROR=true\r\n");
        ini.WriteBool(u"Main", u"ViewHint", true);
        EXPECT_EQ(Stored(), heading + "\r\nPort=5140\r\nviewhint=1\r\nERROR=true\r\n");
    }
    Store("[MAIN]\r\nPort=5140\r\n[Other]\r\nK=v\r\n");
    ini.WriteBool(u"Main", u"ViewHint", false);
    EXPECT_EQ(Stored(), "[MAIN]\r\nPort=5140\r\nViewHint=0\r\n[Other]\r\nK=v\r\n");
    std::filesystem::remove(FilePath());
    ini.WriteString(u"Main", u"ViewHint", u"1");
    EXPECT_EQ(Stored(), "[Main]\r\nViewHint=1\r\n");
}

TEST_F(IniFileTest, FailedWriteThrowsWithThePathAndChangesNothing) {
    std::filesystem::create_directory(FilePath());  // a directory where the file should be
    for (const std::u16string& path : {dir.Text("config.cfg"), dir.Text("missing/config.cfg")}) {
        TIniFile file(path);
        EXPECT_THROW_MSG(file.WriteBool(u"Main", u"ViewHint", true), EIniFileException,
                         u"In " + path + u" kann nicht geschrieben werden");
    }
    EXPECT_TRUE(std::filesystem::is_empty(FilePath()));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "missing"));
}

}  // namespace
}  // namespace kestrin::files
