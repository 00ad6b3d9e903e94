#include "files/ansi_text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/trace.h"

namespace kestrin::files {
namespace {

// Windows-1252 stands in for the ANSI code page here.
TEST(AnsiTextPosixTest, Windows1252WithQuestionMarks) {
    struct Case {
        std::u16string text;
        std::string bytes;
    };
    const Case cases[] = {
        {u"", ""},
        {u"plain ASCII\r\n\t~", "plain ASCII\r\n\t~"},
        {std::u16string(1, u'\0'), std::string(1, '\0')},
        {u"€", "\x80"},
        {u"‚ƒ„…†‡ˆ‰Š‹ŒŽ", "\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"},
        {u"‘’“”•–—˜™š›œžŸ", "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"},
        {u"\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
        {u"\u0080\u009F", "??"},  // their bytes hold other characters
        {u"\u00A0äöüßÿ", "\xA0\xE4\xF6\xFC\xDF\xFF"},
        {u"\u0100", "?"},
        {u"a\uFFFDb中", "a?b?"},
        {u"x😀y", "x??y"},  // one character in two code units
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.text));
        EXPECT_EQ(ToAnsi(c.text), c.bytes);
    }
}

}  // namespace
}  // namespace kestrin::files
