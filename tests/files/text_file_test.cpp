#include "files/text_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "files/scratch_directory.h"
#include "support/expect_error.h"

namespace kestrin::files {
namespace {

TEST(InOutErrorTest, MessageFollowsTheNumber) {
    const std::pair<int, std::u16string> cases[] = {
        {2, u"Datei nicht gefunden"},
        {3, u"Ungültiger Dateiname"},
        {4, u"Zu viele geöffnete Dateien"},
        {5, u"Dateizugriff verweigert"},
        {100, u"Versuch hinter dem Dateiende zu lesen"},
        {101, u"Zu wenig Speicherplatz"},
        {106, u"Ungültige numerische Eingabe"},
        {0, u"E/A-Fehler 0"},
        {32, u"E/A-Fehler 32"},
        {103, u"E/A-Fehler 103"},
        {-7, u"E/A-Fehler -7"},
    };
    for (const auto& [number, message] : cases) {
        const EInOutError error(number);
        EXPECT_EQ(error.ErrorCode(), number);
        EXPECT_EQ(error.Message(), message) << number;
    }
}

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir.Path() / "file.txt", "old");
        std::filesystem::create_directory(dir.Path() / "folder");
    }
    ScratchDirectory dir;
};

TEST_F(TextFileTest, ExistenceTestFindsOnlyFiles) {
    EXPECT_TRUE(FileExists(dir.Text("file.txt")));
    EXPECT_FALSE(FileExists(dir.Text("folder")));
    EXPECT_FALSE(FileExists(dir.Text("missing/file.txt")));
    EXPECT_TRUE(DirectoryExists(dir.Text("folder")));
    EXPECT_FALSE(DirectoryExists(dir.Text("file.txt")));
}

TEST_F(TextFileTest, CreateEmptiesAndAppendWritesAtTheEnd) {
    TextFile created = TextFile::Create(dir.Text("file.txt"));
    // The second append reads the end of what the first wrote.
    created.AppendLines("one\r\n");
    created.AppendLines("two\r\n");
    created.Close();
    TextFile appended = TextFile::OpenForAppend(dir.Text("file.txt"));
    appended.Write("three\r\n");
    appended.Close();
    EXPECT_EQ(ReadBytes(dir.Path() / "file.txt"), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(TextFileTest, FailuresCarryTheSystemNumber) {
    const struct {
        const char* what;
        int number;
        std::function<void()> step;
    } cases[] = {
        {"append to a missing file", 2, [&] { TextFile::OpenForAppend(dir.Text("missing.txt")); }},
        {"append in a missing directory", 3, [&] { TextFile::OpenForAppend(dir.Text("missing/a.txt")); }},
        {"create in a missing directory", 3, [&] { TextFile::Create(dir.Text("missing/a.txt")); }},
        {"create below a file", 3, [&] { TextFile::Create(dir.Text("file.txt/a.txt")); }},
        {"create over a directory", 5, [&] { TextFile::Create(dir.Text("folder")); }},
        {"append to a directory", 5, [&] { TextFile::OpenForAppend(dir.Text("folder")); }},
        {"directory over a file", 183, [&] { MakeDirectory(dir.Text("file.txt")); }},
        {"directory in a missing one", 3, [&] { MakeDirectory(dir.Text("missing/sub")); }},
        {"close of a closed file", 103, [] { TextFile().Close(); }},
        {"write to a closed file", 103, [] { TextFile().Write("x"); }},
        {"over-long path", 3, [] { CheckPathLength(std::u16string(kMaxPathLength + 1, u'a')); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW_MSG(c.step(), EInOutError, InOutErrorMessage(c.number));
    }
    EXPECT_NO_THROW(CheckPathLength(std::u16string(kMaxPathLength, u'a')));
    EXPECT_EQ(ReadBytes(dir.Path() / "file.txt"), "old");
}

}  // namespace
}  // namespace kestrin::files
