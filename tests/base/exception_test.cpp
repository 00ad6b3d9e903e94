#include "base/exception.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestrin::base {
namespace {

std::exception_ptr Chain(std::u16string outer, std::u16string middle, std::u16string inner) {
    const auto innermost = std::make_exception_ptr(Exception(std::move(inner)));
    const auto between = std::make_exception_ptr(Exception(std::move(middle), innermost));
    return std::make_exception_ptr(Exception(std::move(outer), between));
}

TEST(ErrorBoxTextTest, TakesTheInnermostNonEmptyMessage) {
    EXPECT_EQ(ErrorBoxText(Chain(u"outer", u"middle", u"inner")), u"inner.");
    EXPECT_EQ(ErrorBoxText(Chain(u"outer", u"middle", u"")), u"middle.");
    EXPECT_EQ(ErrorBoxText(Chain(u"outer", u"", u"")), u"outer.");
    EXPECT_EQ(ErrorBoxText(Chain(u"", u"", u"")), u"");
    EXPECT_EQ(ErrorBoxText(Chain(u"", u"middle", u"")), u"middle.");
}

TEST(ErrorBoxTextTest, AppendsAFullStopOnlyAfterCharactersAboveThePoint) {
    struct Case {
        std::u16string message;
        std::u16string text;
    };
    const Case cases[] = {
        {u"Datei nicht gefunden", u"Datei nicht gefunden."},
        {u"Done.", u"Done."},
        {u"Really?", u"Really?."},  // '?' sorts above '.'
        {u"Count 7", u"Count 7."},
        {u"Wait-", u"Wait-"},  // '-' sorts below '.'
        {u"Ends in a break\r\n", u"Ends in a break\r\n"},
        {u"Host (\"a b\")+", u"Host (\"a b\")+"},
        {u"Umlaut ö", u"Umlaut ö."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorBoxText(std::make_exception_ptr(Exception(c.message))), c.text);
    }
}

TEST(ErrorBoxTextTest, ReadsForeignExceptions) {
    EXPECT_EQ(ErrorBoxText(std::make_exception_ptr(std::runtime_error("disk gone"))), u"disk gone.");
    EXPECT_EQ(ErrorBoxText(std::make_exception_ptr(42)), u"");
    const auto cause = std::make_exception_ptr(std::runtime_error("Größe"));
    EXPECT_EQ(ErrorBoxText(std::make_exception_ptr(Exception(u"wrapper", cause))), u"Größe.");
}

TEST(ExceptionTest, CarriesMessageAndCause) {
    const auto cause = std::make_exception_ptr(EConvertError(u"'x' ist kein gültiger Integerwert"));
    const Exception error(u"Fehler ö", cause);
    EXPECT_EQ(error.Message(), u"Fehler ö");
    EXPECT_STREQ(error.what(), "Fehler ö");
    EXPECT_EQ(error.InnerCause(), cause);
}

}  // namespace
}  // namespace kestrin::base
