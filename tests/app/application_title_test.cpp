#include "app/application_title_win32.h"

#include <gtest/gtest.h>

namespace kestrin::app {
namespace {

TEST(ApplicationTitleTest, FileNameCutAtTheFirstDotWithTheRestInLowerCase) {
    EXPECT_EQ(ApplicationTitle(u"C:\\Program Files\\Kestrin\\kestrin.exe"), u"kestrin");
    EXPECT_EQ(ApplicationTitle(u"C:\\Tools\\KESTRIN.EXE"), u"Kestrin");
    EXPECT_EQ(ApplicationTitle(u"D:\\a.b\\SysLog.Watch.exe"), u"Syslog");
    EXPECT_EQ(ApplicationTitle(u"\\\\server\\share\\ÄRGER.exe"), u"Ärger");
    EXPECT_EQ(ApplicationTitle(u"noextension"), u"noextension");
    EXPECT_EQ(ApplicationTitle(u"C:\\x\\.hidden.exe"), u"");
}

}  // namespace
}  // namespace kestrin::app
