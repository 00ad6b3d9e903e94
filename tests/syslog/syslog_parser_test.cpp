// Whole datagrams through ReadFromBytes, every field of the record checked.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"
#include "support/fixed_clock.h"
#include "syslog/syslog_message.h"
#include "syslog_test_support.h"

namespace kestrin::syslog {
namespace {

using namespace std::literals;
using namespace test;

struct Case {
    std::string_view raw;  // ASCII only: RawMessage is the same text
    Expected expected;
};

void ExpectParse(const Case& c, const base::LocalDateTime& now = kNow) {
    SCOPED_TRACE(c.raw);
    const FixedClock clock(now);
    TIdSysLogMessage message(kLocalHost, clock);
    ReadDatagram(message, c.raw);
    ExpectRecord(message, base::AsciiToUtf16(c.raw), c.expected);
}

TEST(SyslogParserTest, PriPart) {
    constexpr base::LocalDateTime kDecoded = At(12, 8, 10, 15, 3);
    const Case cases[] = {
        {"<0>Dec  8 10:15:03 router sshd[77]: ok", {0, kDecoded, u"router", u"sshd", 77, u"ok"}},
        {"<34>Dec  8 10:15:03 router sshd[77]: ok", {34, kDecoded, u"router", u"sshd", 77, u"ok"}},
        {"<191>Dec  8 10:15:03 router sshd[77]: ok", {191, kDecoded, u"router", u"sshd", 77, u"ok"}},
        {"<013>Dec  8 10:15:03 router sshd[77]: ok", {13, kDecoded, u"router", u"sshd", 77, u"ok"}},
        {"<0191>Dec  8 10:15:03 router sshd[77]: ok", {191, kDecoded, u"router", u"sshd", 77, u"ok"}},
        // A space before the "<" is not skipped; the MSG split drops it.
        {" <34>Dec  8 10:15:03 router sshd[77]: ok",
         {13, kNow, kPeer, u"", kNoPid, u"<34>Dec  8 10:15:03 router sshd[77]: ok"}},
        // No PRI part: the header is still decoded from the first character.
        {"Dec  8 10:15:03 router sshd[77]: ok", {13, kDecoded, u"router", u"sshd", 77, u"ok"}},
        // A valid PRI stays when nothing after it can be decoded.
        {"<34>", {34, kNow, kPeer, u"", kNoPid, u""}},
        {"<34>link down", {34, kNow, kPeer, u"link", kNoPid, u"down"}},
    };
    for (const Case& c : cases) ExpectParse(c);

    // An invalid PRI part gives Pri 13 and the header is looked for at the "<",
    // where no month name starts, so the whole text is the content.
    const std::string_view invalid[] = {
        "<192>Dec  8 10:15:03 router sshd[77]: ok",   "<300>Dec  8 10:15:03 router sshd[77]: ok",
        "<1000>Dec  8 10:15:03 router sshd[77]: ok",  "<12345>Dec  8 10:15:03 router sshd[77]: ok",
        "<00034>Dec  8 10:15:03 router sshd[77]: ok", "<ab>Dec  8 10:15:03 router sshd[77]: ok",
        "<-1>Dec  8 10:15:03 router sshd[77]: ok",    "<>Dec  8 10:15:03 router sshd[77]: ok",
        "<34 Dec  8 10:15:03 router sshd[77]: ok",    "<34",
        "<",
    };
    for (const std::string_view raw : invalid) {
        const std::u16string whole = base::AsciiToUtf16(raw);
        ExpectParse({raw, {13, kNow, kPeer, u"", kNoPid, whole}});
    }
}

// "Mmm dd hh:mm:ss " in the clock's year. A failed time stamp gives "now" and
// the sender as host, and the MSG part starts right after the PRI part.
TEST(SyslogParserTest, HeaderTimeStamp) {
    const Case cases[] = {
        {"<34>Dec  8 10:15:03 router app: x", {34, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, u"x"}},
        {"<34>Oct 11 22:14:15 mymachine su: 'su root' failed for lonvick on /dev/pts/8",
         {34, At(10, 11, 22, 14, 15), u"mymachine", u"su", kNoPid, u"'su root' failed for lonvick on /dev/pts/8"}},
        {"<34>dec 08 00:00:00 router app: x", {34, At(12, 8, 0, 0, 0), u"router", u"app", kNoPid, u"x"}},
        {"<34>jAN  1 00:00:00 router app: x", {34, At(1, 1, 0, 0, 0), u"router", u"app", kNoPid, u"x"}},
        {"<34>Mrz 31 23:59:59 router app: x", {34, At(3, 31, 23, 59, 59), u"router", u"app", kNoPid, u"x"}},
        {"<34>ENO  2 01:02:03 router app: x", {34, At(1, 2, 1, 2, 3), u"router", u"app", kNoPid, u"x"}},
        {"<34>Avg  2 01:02:03 router app: x", {34, At(8, 2, 1, 2, 3), u"router", u"app", kNoPid, u"x"}},
        {"<34>okt  2 01:02:03 router app: x", {34, At(10, 2, 1, 2, 3), u"router", u"app", kNoPid, u"x"}},
        {"<34>DIC  2 01:02:03 router app: x", {34, At(12, 2, 1, 2, 3), u"router", u"app", kNoPid, u"x"}},
        {"<34>Foo  8 10:15:03 router app: x", {34, kNow, kPeer, u"Foo", kNoPid, u" 8 10:15:03 router app: x"}},
        {"<34>Feb 29 12:00:00 router app: x", {34, kNow, kPeer, u"Feb", kNoPid, u"29 12:00:00 router app: x"}},
        {"<34>Apr 30 12:00:00 router app: x", {34, At(4, 30, 12, 0, 0), u"router", u"app", kNoPid, u"x"}},
        {"<34>Apr 31 12:00:00 router app: x", {34, kNow, kPeer, u"Apr", kNoPid, u"31 12:00:00 router app: x"}},
        {"<34>Dec 32 10:15:03 router app: x", {34, kNow, kPeer, u"Dec", kNoPid, u"32 10:15:03 router app: x"}},
        {"<34>Dec 00 10:15:03 router app: x", {34, kNow, kPeer, u"Dec", kNoPid, u"00 10:15:03 router app: x"}},
        {"<34>Dec ab 10:15:03 router app: x", {34, kNow, kPeer, u"Dec", kNoPid, u"ab 10:15:03 router app: x"}},
        {"<34>Dec  8 24:00:00 router app: x", {34, kNow, kPeer, u"Dec", kNoPid, u" 8 24:00:00 router app: x"}},
        {"<34>Dec  8 23:60:00 router app: x", {34, kNow, kPeer, u"Dec", kNoPid, u" 8 23:60:00 router app: x"}},
        {"<34>Dec  8 23:59:60 router app: x", {34, kNow, kPeer, u"Dec", kNoPid, u" 8 23:59:60 router app: x"}},
        // The separators are not examined, and a time field that is no number reads as 0.
        {"<34>Dec  8 10.15.03 router app: x", {34, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, u"x"}},
        {"<34>Dec  8 ab:15:03 router app: x", {34, At(12, 8, 0, 15, 3), u"router", u"app", kNoPid, u"x"}},
        // Number fields lose control characters and spaces at both ends.
        {"<34>Dec \t8 9\t:15:03 router app: x", {34, At(12, 8, 9, 15, 3), u"router", u"app", kNoPid, u"x"}},
        // The 16th character must be the closing space.
        {"<34>Dec  8 10:15:03router app: x", {34, kNow, kPeer, u"Dec", kNoPid, u" 8 10:15:03router app: x"}},
        {"<34>Dec  8 10:15", {34, kNow, kPeer, u"Dec", kNoPid, u" 8 10:15"}},
    };
    for (const Case& c : cases) ExpectParse(c);

    // The year comes from the clock, so 29 February depends on it.
    ExpectParse({"<34>Feb 29 12:00:00 router app: x",
                 {34, {2028, 2, 29, 12, 0, 0, 0}, u"router", u"app", kNoPid, u"x"}},
                {2028, 12, 8, 10, 15, 3, 250});
}

// The word after the time stamp, unless it holds a ":" (an IPv6 address, a
// tag): then the sender stands in and the word starts the MSG part.
TEST(SyslogParserTest, HostName) {
    constexpr base::LocalDateTime kDecoded = At(12, 8, 10, 15, 3);
    const Case cases[] = {
        {"<34>Dec  8 10:15:03 router.example.net kernel: link up",
         {34, kDecoded, u"router.example.net", u"kernel", kNoPid, u"link up"}},
        {"<34>Dec  8 10:15:03 10.0.0.1 kernel: link up", {34, kDecoded, u"10.0.0.1", u"kernel", kNoPid, u"link up"}},
        {"<34>Dec  8 10:15:03 2001:db8::1 kernel: link up",
         {34, kDecoded, kPeer, u"2001", kNoPid, u"db8::1 kernel: link up"}},
        {"<34>Dec  8 10:15:03 sshd[77]: Accepted", {34, kDecoded, kPeer, u"sshd", 77, u"Accepted"}},
        {"<34>Dec  8 10:15:03 %ASA-4-106023: Deny tcp",
         {34, kDecoded, kPeer, u"", kNoPid, u"%ASA-4-106023: Deny tcp"}},
        {"<34>Dec  8 10:15:03 host:", {34, kDecoded, kPeer, u"host", kNoPid, u""}},
        {"<34>Dec  8 10:15:03 router", {34, kDecoded, u"router", u"", kNoPid, u""}},
        {"<34>Dec  8 10:15:03 router ", {34, kDecoded, u"router", u"", kNoPid, u""}},
        {"<34>Dec  8 10:15:03  app: x", {34, kDecoded, u"", u"app", kNoPid, u"x"}},
        {"<34>Dec  8 10:15:03 ", {34, kDecoded, u"", u"", kNoPid, u""}},
    };
    for (const Case& c : cases) ExpectParse(c);
}

// TAG [ "[" PID "]" ] [ ": " | ":" | " " ] CONTENT, after a complete header.
TEST(SyslogParserTest, MsgSplit) {
    struct MsgCase {
        std::string_view msg;
        std::u16string_view process;
        std::int32_t pid;
        std::u16string_view content;
    };
    const MsgCase cases[] = {
        {"dnsmasq[412]: query done", u"dnsmasq", 412, u"query done"},
        {"dnsmasq-dhcp[412]: DHCPACK(br0)", u"dnsmasq", kNoPid, u"-dhcp[412]: DHCPACK(br0)"},
        {"kernel: eth0 up", u"kernel", kNoPid, u"eth0 up"},
        {"kernel:eth0 up", u"kernel", kNoPid, u"eth0 up"},
        {"kernel eth0 up", u"kernel", kNoPid, u"eth0 up"},
        {"kernel:  eth0 up", u"kernel", kNoPid, u" eth0 up"},
        {"kernel", u"kernel", kNoPid, u""},
        {": only content", u"", kNoPid, u"only content"},
        {"[5]: x", u"", 5, u"x"},
        {"sshd[ 77 ]: x", u"sshd", 77, u"x"},
        {"sshd[0x1F]: x", u"sshd", 31, u"x"},
        {"sshd[abc]: x", u"sshd", kNoPid, u"x"},
        {"sshd[]: x", u"sshd", kNoPid, u"x"},
        {"sshd[-1]: x", u"sshd", kNoPid, u"x"},
        {"sshd[77]x", u"sshd", 77, u"x"},
        {"sshd[77", u"sshd", 77, u""},
        {"sshd[77: x", u"sshd", kNoPid, u""},
        {"sshd[77]]: x", u"sshd", 77, u"]: x"},
        {"Abcdefghijklmnopqrstuvwxyz012345[9]: x", u"Abcdefghijklmnopqrstuvwxyz012345", 9, u"x"},
        {"Abcdefghijklmnopqrstuvwxyz0123456[9]: x", u"Abcdefghijklmnopqrstuvwxyz012345", kNoPid, u"6[9]: x"},
    };
    constexpr std::string_view kHeader = "<30>Dec  8 10:15:03 router ";
    for (const MsgCase& c : cases) {
        const std::string raw = std::string(kHeader) + std::string(c.msg);
        ExpectParse({raw, {30, At(12, 8, 10, 15, 3), u"router", c.process, c.pid, c.content}});
    }
}

// Datagrams as devices send them, and the byte-level rules: 1024 bytes are
// read, bytes above 127 become U+FFFD ("?" in a host name), zero bytes stay.
TEST(SyslogParserTest, WholeDatagram) {
    struct DatagramCase {
        std::string_view name;
        std::string raw;
        std::u16string rawMessage;
        Expected expected;
    };
    const std::string head = "<30>Dec  8 10:15:03 router app: ";
    const std::u16string head16 = base::AsciiToUtf16(head);
    const std::size_t fill = 1024 - head.size();
    const std::u16string fullContent = std::u16string(fill - 1, u'A') + u'Z';
    const std::u16string cutContent(fill, u'A');
    const std::u16string rfc5424Content =
        u"2003-10-11T22:14:15.003Z mymachine.example.com evntslog - ID47 "
        u"[exampleSDID@32473 iut=\"3\" eventSource=\"Application\"] \uFFFD\uFFFD\uFFFDAn application event log entry";
    const std::u16string ciscoContent = u"*Dec  8 10:15:03.123: %SYS-5-CONFIG_I: Configured from console by vty0";
    const std::u16string zeroPri = u"<3\0>Dec  8 10:15:03 router app: x"s;

    const DatagramCase cases[] = {
        {"empty", "", u"", {13, kNow, kPeer, u"", kNoPid, u""}},
        {"exactly 1024 bytes", head + std::string(fill - 1, 'A') + "Z", head16 + fullContent,
         {30, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, fullContent}},
        {"1025 bytes", head + std::string(fill, 'A') + "Z", head16 + cutContent,
         {30, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, cutContent}},
        {"2000 bytes", head + std::string(2000 - head.size(), 'A'), head16 + cutContent,
         {30, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, cutContent}},
        {"non-ASCII content", "<30>Dec  8 10:15:03 router app: gr\xC3\xBC\xC3\x9F",
         u"<30>Dec  8 10:15:03 router app: gr\uFFFD\uFFFD\uFFFD\uFFFD",
         {30, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, u"gr\uFFFD\uFFFD\uFFFD\uFFFD"}},
        {"non-ASCII host name", "<30>Dec  8 10:15:03 r\xC3\xA4uter app: x",
         u"<30>Dec  8 10:15:03 r\uFFFD\uFFFDuter app: x", {30, At(12, 8, 10, 15, 3), u"r??uter", u"app", kNoPid, u"x"}},
        {"non-ASCII tag", "<30>Dec  8 10:15:03 router \xC3\xA4pp[5]: x",
         u"<30>Dec  8 10:15:03 router \uFFFD\uFFFDpp[5]: x",
         {30, At(12, 8, 10, 15, 3), u"router", u"", kNoPid, u"\uFFFD\uFFFDpp[5]: x"}},
        {"non-ASCII month", "<30>De\xE7  8 10:15:03 router app: x", u"<30>De\uFFFD  8 10:15:03 router app: x",
         {30, kNow, kPeer, u"De", kNoPid, u"\uFFFD  8 10:15:03 router app: x"}},
        {"non-ASCII separator", "<30>Dec\xA0 8 10:15:03 router app: x", u"<30>Dec\uFFFD 8 10:15:03 router app: x",
         {30, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, u"x"}},
        {"zero bytes in content", std::string("<30>Dec  8 10:15:03 router app: a\0b\0"sv),
         u"<30>Dec  8 10:15:03 router app: a\0b\0"s,
         {30, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, u"a\0b\0"sv}},
        {"zero byte in host name", std::string("<30>Dec  8 10:15:03 ro\0ter app: x"sv),
         u"<30>Dec  8 10:15:03 ro\0ter app: x"s, {30, At(12, 8, 10, 15, 3), u"ro\0ter"sv, u"app", kNoPid, u"x"}},
        {"zero byte in day", std::string("<30>Dec \0" "8 10:15:03 router app: x"sv),
         u"<30>Dec \0" u"8 10:15:03 router app: x"s, {30, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, u"x"}},
        {"zero byte in PRI", std::string("<3\0>Dec  8 10:15:03 router app: x"sv), zeroPri,
         {13, kNow, kPeer, u"", kNoPid, zeroPri}},
        {"line end kept", "<30>Dec  8 10:15:03 router app: done\r\n", u"<30>Dec  8 10:15:03 router app: done\r\n",
         {30, At(12, 8, 10, 15, 3), u"router", u"app", kNoPid, u"done\r\n"}},
        {"RFC 5424 with BOM",
         "<165>1 2003-10-11T22:14:15.003Z mymachine.example.com evntslog - ID47 "
         "[exampleSDID@32473 iut=\"3\" eventSource=\"Application\"] \xEF\xBB\xBF" "An application event log entry",
         u"<165>1 " + rfc5424Content, {165, kNow, kPeer, u"1", kNoPid, rfc5424Content}},
        {"switch with sequence number",
         "<189>123: *Dec  8 10:15:03.123: %SYS-5-CONFIG_I: Configured from console by vty0",
         u"<189>123: " + ciscoContent, {189, kNow, kPeer, u"123", kNoPid, ciscoContent}},
        {"firewall",
         "<4>Dec  8 10:15:03 fw01 kernel: [UFW BLOCK] IN=eth0 OUT= SRC=203.0.113.5 DST=192.0.2.10 PROTO=TCP DPT=22",
         u"<4>Dec  8 10:15:03 fw01 kernel: [UFW BLOCK] IN=eth0 OUT= SRC=203.0.113.5 DST=192.0.2.10 PROTO=TCP DPT=22",
         {4, At(12, 8, 10, 15, 3), u"fw01", u"kernel", kNoPid,
          u"[UFW BLOCK] IN=eth0 OUT= SRC=203.0.113.5 DST=192.0.2.10 PROTO=TCP DPT=22"}},
        {"router", "<30>Dec  8 10:15:03 RT-AX88U dnsmasq-dhcp[1234]: DHCPACK(br0) 192.168.1.20 laptop",
         u"<30>Dec  8 10:15:03 RT-AX88U dnsmasq-dhcp[1234]: DHCPACK(br0) 192.168.1.20 laptop",
         {30, At(12, 8, 10, 15, 3), u"RT-AX88U", u"dnsmasq", kNoPid, u"-dhcp[1234]: DHCPACK(br0) 192.168.1.20 laptop"}},
    };
    for (const DatagramCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FixedClock clock(kNow);
        TIdSysLogMessage message(kLocalHost, clock);
        ReadDatagram(message, c.raw);
        ExpectRecord(message, c.rawMessage, c.expected);
    }
}

}  // namespace
}  // namespace kestrin::syslog
