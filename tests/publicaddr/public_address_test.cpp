#include "publicaddr/public_address.h"

#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "publicaddr/local_http_server.h"
#include "publicaddr/loopback_socket.h"

namespace kestrin::publicaddr {
namespace {

using test::HeaderValue;
using test::HttpResponse;
using test::LocalHttpServer;
using test::LoopbackSocket;

// A URL on loopback at which nothing listens: connections are refused.
class RefusingPort {
public:
    std::u16string Url() const { return u"http://127.0.0.1:" + base::DecimalText(socket_.Port()) + u"/"; }

private:
    LoopbackSocket socket_ = LoopbackSocket::BindOnly();
};

TEST(FetchPublicAddressTest, TheFirstValidAnswerWinsAndTheRestAreNotAsked) {
    LocalHttpServer first(HttpResponse("203.0.113.7\n"));
    LocalHttpServer second(HttpResponse("198.51.100.1"));
    EXPECT_EQ(FetchPublicAddress({first.Url(), second.Url()}), u"203.0.113.7");
    EXPECT_EQ(first.Requests().size(), 1u);
    EXPECT_TRUE(second.Requests().empty());
}

TEST(FetchPublicAddressTest, AnUnreachableServiceIsPassedOver) {
    const RefusingPort unreachable;
    LocalHttpServer second(HttpResponse("\t2001:db8::7\r\n"));
    EXPECT_EQ(FetchPublicAddress({unreachable.Url(), second.Url()}), u"2001:db8::7");
}

TEST(FetchPublicAddressTest, AnErrorPageIsPassedOver) {
    LocalHttpServer first(HttpResponse("<html><body>502 Bad Gateway</body></html>", "502 Bad Gateway",
                                       "Content-Type: text/html\r\n"));
    LocalHttpServer second(HttpResponse("203.0.113.7"));
    EXPECT_EQ(FetchPublicAddress({first.Url(), second.Url()}), u"203.0.113.7");
    EXPECT_EQ(first.Requests().size(), 1u);
}

TEST(FetchPublicAddressTest, TheStatusIsNotLookedAt) {
    LocalHttpServer service(HttpResponse("203.0.113.7", "404 Not Found"));
    EXPECT_EQ(FetchPublicAddress({service.Url()}), u"203.0.113.7");
}

TEST(FetchPublicAddressTest, NothingUsableGivesTheEmptyText) {
    LocalHttpServer empty(HttpResponse(""));
    LocalHttpServer trailing(HttpResponse("203.0.113.7 and more"));
    LocalHttpServer bom(HttpResponse("\xEF\xBB\xBF" "203.0.113.7\n"));
    const RefusingPort unreachable;
    EXPECT_EQ(FetchPublicAddress({empty.Url(), trailing.Url(), bom.Url(), unreachable.Url(), u"", u"no url"}), u"");
    EXPECT_EQ(FetchPublicAddress({}), u"");
    EXPECT_EQ(bom.Requests().size(), 1u);
}

TEST(FetchPublicAddressTest, AUrlWithAControlCharacterIsNotAsked) {
    LocalHttpServer service(HttpResponse("203.0.113.7"));
    const std::u16string tails[] = {u"\r\nX-Injected: 1", u"\t", std::u16string(1, u'\0'), u"\x7F"};
    for (const std::u16string& tail : tails) {
        EXPECT_EQ(FetchPublicAddress({service.Url(u"/ip" + tail)}), u"");
    }
    EXPECT_TRUE(service.Requests().empty());
    EXPECT_EQ(FetchPublicAddress({service.Url(u"/ip")}), u"203.0.113.7");
}

TEST(FetchPublicAddressTest, ALongBodyIsJudgedWhole) {
    const std::string padding(3 * kAnswerPieceSize + 100, ' ');
    LocalHttpServer paddedInFront(HttpResponse(padding + "203.0.113.7\r\n"));
    EXPECT_EQ(FetchPublicAddress({paddedInFront.Url()}), u"203.0.113.7");

    LocalHttpServer moreAfterTheFirstPiece(HttpResponse("203.0.113.7" + padding + "x"));
    EXPECT_EQ(FetchPublicAddress({moreAfterTheFirstPiece.Url()}), u"");
}

TEST(FetchPublicAddressTest, ABodyBeyondTheLimitIsNoAddress) {
    const std::string address = "203.0.113.7";
    const std::string fits = address + std::string(kMaxAnswerBytes - address.size(), '\n');
    LocalHttpServer atTheLimit(HttpResponse(fits));
    EXPECT_EQ(FetchPublicAddress({atTheLimit.Url()}), u"203.0.113.7");

    LocalHttpServer beyond(HttpResponse(fits + "\n"));
    LocalHttpServer next(HttpResponse("198.51.100.1"));
    EXPECT_EQ(FetchPublicAddress({beyond.Url(), next.Url()}), u"198.51.100.1");
}

TEST(FetchPublicAddressTest, ABodyCutShortIsJudgedByWhatArrived) {
    LocalHttpServer service("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n203.0.113.7\n");
    EXPECT_EQ(FetchPublicAddress({service.Url()}), u"203.0.113.7");
}

TEST(FetchPublicAddressTest, ARedirectIsFollowed) {
    LocalHttpServer target(HttpResponse("203.0.113.7"));
    const std::string location = "Location: " + base::Utf16ToUtf8(target.Url(u"/ip")) + "\r\n";
    LocalHttpServer moved(HttpResponse("", "302 Found", location));
    EXPECT_EQ(FetchPublicAddress({moved.Url()}), u"203.0.113.7");
    ASSERT_EQ(target.Requests().size(), 1u);
    EXPECT_EQ(target.Requests()[0].substr(0, 12), "GET /ip HTTP");
}

TEST(FetchPublicAddressTest, TheRequestIsAGetWhoseUserAgentIsTheUrl) {
    LocalHttpServer service(HttpResponse("203.0.113.7"));
    const std::u16string url = service.Url(u"/where?format=text");
    ASSERT_EQ(FetchPublicAddress({url}), u"203.0.113.7");
    ASSERT_EQ(service.Requests().size(), 1u);
    const std::string request = service.Requests()[0];
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /where?format=text HTTP/1.1") << request;
    EXPECT_EQ(HeaderValue(request, "User-Agent"), base::Utf16ToUtf8(url)) << request;
    EXPECT_EQ(HeaderValue(request, "Host"), "127.0.0.1:" + std::to_string(service.Port())) << request;
}

}  // namespace
}  // namespace kestrin::publicaddr
