#include "publicaddr/public_address_check.h"

#include <gtest/gtest.h>

#include <string>

#include "files/in_out_error.h"
#include "files/scratch_directory.h"
#include "files/text_file.h"
#include "publicaddr/local_http_server.h"
#include "support/expect_error.h"
#include "support/fixed_clock.h"
#include "support/fixed_formats.h"

namespace kestrin::publicaddr {
namespace {

using files::EInOutError;

class HistoryFileTest : public ::testing::Test {
protected:
    void Append(const std::u16string& address) { AppendHistoryLine(program, clock, formats, address); }
    std::string Content() const { return ReadBytes(dir.Path() / "ip_list.cfg"); }

    ScratchDirectory dir;
    files::ProgramDirectory program = dir.AsProgramDirectory();
    FixedClock clock{{2026, 12, 8, 10, 15, 3, 250}};
    test::IsoFormats formats;
};

TEST_F(HistoryFileTest, TheFirstAddressCreatesTheFileAndLaterOnesGoBelow) {
    Append(u"203.0.113.7");
    EXPECT_EQ(Content(), "Tue 2026-12-08 10:15:03  203.0.113.7\r\n");
    clock.Set({2026, 12, 9, 0, 0, 0, 0});
    Append(u"2001:db8::7");
    EXPECT_EQ(Content(),
              "Tue 2026-12-08 10:15:03  203.0.113.7\r\n"
              "Wed 2026-12-09           2001:db8::7\r\n");
}

// The new line starts on a line of its own, below the unfinished one.
TEST_F(HistoryFileTest, EarlierBytesAreKept) {
    const std::string earlier = "written by hand, no line end";
    WriteBytes(dir.Path() / "ip_list.cfg", earlier);
    Append(u"\"1\".2.3.4");
    EXPECT_EQ(Content(), earlier + "\r\nTue 2026-12-08 10:15:03  \"1\".2.3.4\r\n");
}

TEST_F(HistoryFileTest, TheAddressIsWrittenInTheAnsiCodePage) {
    Append(u"\u00E4\u4E2D");
    EXPECT_EQ(Content(), "Tue 2026-12-08 10:15:03  \xE4?\r\n");
}

TEST_F(HistoryFileTest, APathTooLongIsError3AndTouchesNothing) {
    // The directory exists where the system allows it, so the length alone is refused.
    const std::filesystem::path deep = dir.Path() / std::string(250, 'd');
    std::error_code ignored;
    std::filesystem::create_directory(deep, ignored);
    const files::ProgramDirectory deepProgram(deep.u16string());
    EXPECT_THROW_MSG(AppendHistoryLine(deepProgram, clock, formats, u"203.0.113.7"), EInOutError,
                     u"Ungültiger Dateiname");
    EXPECT_FALSE(std::filesystem::exists(deep / "ip_list.cfg", ignored));
}

TEST_F(HistoryFileTest, AMissingDirectoryIsError3) {
    const files::ProgramDirectory missing(dir.Text("missing"));
    EXPECT_THROW_MSG(AppendHistoryLine(missing, clock, formats, u"203.0.113.7"), EInOutError, u"Ungültiger Dateiname");
}

TEST_F(HistoryFileTest, AWriterElsewhereMakesTheAppendFailUntilItCloses) {
    WriteBytes(dir.Path() / "ip_list.cfg", "before\r\n");
    {
        files::TextFile other = files::TextFile::OpenForAppend(dir.Text("ip_list.cfg"));
        EXPECT_THROW_MSG(Append(u"203.0.113.7"), EInOutError, u"E/A-Fehler 32");
    }
    Append(u"203.0.113.7");
    EXPECT_EQ(Content(), "before\r\nTue 2026-12-08 10:15:03  203.0.113.7\r\n");
}

// Start-up's view: the address found is the one recorded.
TEST_F(HistoryFileTest, TheServiceRecordsTheAddressItFound) {
    test::LocalHttpServer first(test::HttpResponse("203.0.113.7\n"));
    PublicAddressService service(program, clock, formats);
    const std::u16string address = service.FetchPublicAddress({first.Url(), u""});
    ASSERT_EQ(address, u"203.0.113.7");
    service.AppendHistoryLine(address);
    EXPECT_EQ(Content(), "Tue 2026-12-08 10:15:03  203.0.113.7\r\n");
}

}  // namespace
}  // namespace kestrin::publicaddr
