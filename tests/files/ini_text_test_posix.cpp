#include "files/ini_text_posix.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrin::files {
namespace {

TEST(IniTextTest, WriteChangesOneLineOrAddsOneAndKeepsEveryOtherByte) {
    struct Case {
        std::string_view before, after;
    };
    const Case cases[] = {
        {"[Other]\r\nA=1", "[Other]\r\nA=1\r\n[Main]\r\nKey=1\r\n"},
        {"[Other]\rA=1\r", "[Other]\rA=1\r[Main]\r\nKey=1\r\n"},  // a lone CR ends a line too
        {"[main]", "[main]\r\nKey=1\r\n"},
        {" ; c\n [ MAIN ] x\t\n  key =  0 \n\tB\t=\t2\n", " ; c\n [ MAIN ] x\t\nkey=1\r\n\tB\t=\t2\n"},
        {"[Main]\nKey\nB=2\n", "[Main]\nKey=1\r\nB=2\n"},  // a bare key is that key
        {"[Main]\nA=1\n;Key=0\n\n\n[Other]\nKey=0\n", "[Main]\nA=1\n;Key=0\nKey=1\r\n\n\n[Other]\nKey=0\n"},
        {"[Main]\r\nA=\xe4\r\n[Main]\r\nKey=0\r\n", "[Main]\r\nA=\xe4\r\nKey=1\r\n[Main]\r\nKey=0\r\n"},
        {"[Main]\r\nKey=0\r\nKey=5\r\n", "[Main]\r\nKey=1\r\nKey=5\r\n"},
        {"[Ma]in]\r\n[Main\r\nKey=0\r\n", "[Ma]in]\r\n[Main\r\nKey=0\r\n[Main]\r\nKey=1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.before);
        EXPECT_EQ(SetIniValue(c.before, "Main", "Key", "1"), c.after);
    }
}

}  // namespace
}  // namespace kestrin::files
