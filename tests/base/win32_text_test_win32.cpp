#include "base/win32_text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace kestrin::base {
namespace {

TEST(Win32TextTest, TextsCrossUnchangedIncludingSurrogatesAndZeros) {
    const std::u16string text(u"Gr\u00FC\u00DFe \U0001F600\0!", 10);
    EXPECT_EQ(Wide(text), std::wstring(L"Gr\u00FC\u00DFe \U0001F600\0!", 10));
    EXPECT_EQ(FromWide(Wide(text)), text);
}

TEST(Win32TextTest, SystemTextsEndWithoutALineBreak) {
    const std::u16string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), u'\n');
    EXPECT_NE(text.back(), u'\r');
}

}  // namespace
}  // namespace kestrin::base
