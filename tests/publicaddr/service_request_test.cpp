// The bounds of one request, against services that misbehave on purpose.

#include "publicaddr/service_request.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "base/text.h"
#include "publicaddr/local_http_server.h"
#include "publicaddr/public_address.h"

namespace kestrin::publicaddr {
namespace {

using namespace std::chrono_literals;
using test::HttpResponse;
using test::LocalHttpServer;

// Short, so the tests do not wait the product's half minute per service.
const RequestLimits kShortLimits{1s, 2s};
// For a slow machine: a stalled request ends within the deadline plus this.
constexpr auto kMargin = 3s;
// Slower than a byte per read time-out would allow, had those been enough.
constexpr auto kTrickleInterval = 700ms;

class Stopwatch {
public:
    std::chrono::steady_clock::duration Elapsed() const { return std::chrono::steady_clock::now() - start_; }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

TEST(AskServiceTest, AStalledOrTricklingServiceRunsOutOfTime) {
    const std::string response = HttpResponse("203.0.113.7");
    LocalHttpServer silent(test::Silent());
    LocalHttpServer tricklingHead(test::Trickle(response, 0, kTrickleInterval));
    for (LocalHttpServer* service : {&silent, &tricklingHead}) {
        const Stopwatch stopwatch;
        EXPECT_TRUE(AskService(service->Url(), kShortLimits).Bytes().empty());
        EXPECT_LT(stopwatch.Elapsed(), kShortLimits.total + kMargin);
        EXPECT_FALSE(service->Requests().empty());
    }
}

TEST(AskServiceTest, WhatATricklingBodyGaveByTheDeadlineIsJudged) {
    const std::string address = "203.0.113.7\n";
    const std::string response = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + address + std::string(100, '\n');
    LocalHttpServer trickling(test::Trickle(response, response.size() - 100, kTrickleInterval));
    const Stopwatch stopwatch;
    EXPECT_EQ(FetchPublicAddress({trickling.Url()}, kShortLimits), u"203.0.113.7");
    EXPECT_LT(stopwatch.Elapsed(), kShortLimits.total + kMargin);
}

TEST(AskServiceTest, AStalledServiceIsPassedOverForTheNext) {
    LocalHttpServer silent(test::Silent());
    LocalHttpServer next(HttpResponse("198.51.100.1"));
    const Stopwatch stopwatch;
    EXPECT_EQ(FetchPublicAddress({silent.Url(), next.Url()}, kShortLimits), u"198.51.100.1");
    EXPECT_LT(stopwatch.Elapsed(), kShortLimits.total + kMargin);
}

TEST(AskServiceTest, AnAnswerBeyondTheCapEndsTheRequestAndTheNextIsAsked) {
    constexpr std::size_t kLong = 4 * 1024 * 1024;
    std::atomic<std::size_t> sentAlone = 0;
    std::atomic<std::size_t> sentFirst = 0;
    LocalHttpServer alone(test::GeneratedBody(kLong, sentAlone));
    LocalHttpServer first(test::GeneratedBody(kLong, sentFirst));
    LocalHttpServer next(HttpResponse("198.51.100.1"));
    const Stopwatch stopwatch;
    EXPECT_TRUE(AskService(alone.Url(), kShortLimits).TooLong());
    EXPECT_EQ(FetchPublicAddress({first.Url(), next.Url()}, kShortLimits), u"198.51.100.1");
    EXPECT_LT(stopwatch.Elapsed(), 2 * (kShortLimits.total + kMargin));
}

TEST(AskServiceTest, AStalledServiceThatAnswersWhileTheNextIsAskedDisturbsNothing) {
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    LocalHttpServer late([released](LocalHttpServer&, const test::LoopbackSocket& connection) {
        // Bounded only so that a failure elsewhere cannot hang the test.
        if (released.wait_for(1min) == std::future_status::ready) connection.SendAll(HttpResponse("203.0.113.7"));
    });
    LocalHttpServer next([&](LocalHttpServer&, const test::LoopbackSocket& connection) {
        release.set_value();
        ASSERT_TRUE(late.WaitForReplies(1));
        connection.SendAll(HttpResponse("198.51.100.1"));
    });
    EXPECT_EQ(FetchPublicAddress({late.Url(), next.Url()}, kShortLimits), u"198.51.100.1");
    EXPECT_EQ(next.Requests().size(), 1u);
}

TEST(AskServiceTest, RedirectsAreFollowedUpToTheLimit) {
    LocalHttpServer atTheLimit(test::Redirects(kMaxRedirects, HttpResponse("203.0.113.7")));
    EXPECT_EQ(FetchPublicAddress({atTheLimit.Url()}), u"203.0.113.7");
    EXPECT_EQ(atTheLimit.Requests().size(), kMaxRedirects + 1u);

    LocalHttpServer endless(test::Redirects(1'000, HttpResponse("203.0.113.7")));
    EXPECT_EQ(FetchPublicAddress({endless.Url()}), u"");
    EXPECT_LE(endless.Requests().size(), kMaxRedirects + 1u);
}

TEST(AskServiceTest, ARedirectsOwnBodyIsNeverTheAnswer) {
    LocalHttpServer target(HttpResponse("198.51.100.1"));
    // A place longer than any fixed buffer for a URL.
    std::string place = "http://127.0.0.1:" + std::to_string(target.Port()) + "/";
    place.resize(3'000, 'a');
    LocalHttpServer farAway(HttpResponse("203.0.113.7", "302 Found", "Location: " + place + "\r\n"));
    EXPECT_EQ(FetchPublicAddress({farAway.Url()}), u"198.51.100.1");
    ASSERT_EQ(target.Requests().size(), 1u);
    // The whole place was followed, not a part of it.
    EXPECT_EQ(target.Requests()[0].rfind("GET " + place.substr(place.find("/a")) + " HTTP/1.1\r\n", 0), 0u);

    LocalHttpServer nowhere(HttpResponse("203.0.113.7", "302 Found", ""));
    EXPECT_EQ(FetchPublicAddress({nowhere.Url()}), u"");
}

TEST(AskServiceTest, ARedirectToAnotherSchemeIsNoAnswer) {
    LocalHttpServer toFile(HttpResponse("203.0.113.7", "302 Found", "Location: file:///etc/hostname\r\n"));
    EXPECT_TRUE(AskService(toFile.Url()).Bytes().empty());
    EXPECT_EQ(AskService(u"file:///etc/hostname").Bytes(), "");

    // Not even a connection is made to the other scheme's place.
    const test::LoopbackSocket ftp = test::LoopbackSocket::Listen();
    const std::string place = "ftp://127.0.0.1:" + std::to_string(ftp.Port()) + "/";
    LocalHttpServer toFtp(HttpResponse("203.0.113.7", "302 Found", "Location: " + place + "\r\n"));
    EXPECT_TRUE(AskService(toFtp.Url(), kShortLimits).Bytes().empty());
    EXPECT_FALSE(ftp.HasPendingConnection());
}

// Fault: a redirect from an https service to plain http was followed, so
// anyone on the plain hop's path could choose the address recorded.
TEST(AskServiceTest, ARedirectGoesOnlyToTheWebAndNeverFromHttpsToHttp) {
    struct Row {
        const char16_t* from;
        const char16_t* to;
        bool allowed;
    };
    for (const Row& row : std::vector<Row>{{u"https://a.example/", u"https://b.example/ip", true},
                                           {u"HTTPS://a.example/", u"hTTps://b.example/", true},
                                           {u"https://a.example/", u"http://a.example/", false},
                                           {u"https://a.example/", u"HTTP://a.example/", false},
                                           {u"http://a.example/", u"https://a.example/", true},
                                           {u"http://a.example/", u"http://b.example/", true},
                                           {u"http://a.example/", u"ftp://a.example/", false},
                                           {u"https://a.example/", u"file:///etc/hostname", false},
                                           {u"http://a.example/", u"//b.example/", false},
                                           {u"http://a.example/", u"", false}}) {
        EXPECT_EQ(RedirectAllowed(row.from, row.to), row.allowed)
            << base::Utf16ToUtf8(row.from) << " -> " << base::Utf16ToUtf8(row.to);
    }
}

TEST(AskServiceTest, TheTotalBoundsTheWholeRequestItsConnectingIncluded) {
    EXPECT_EQ(TimeAllowed({}), 30s);
    EXPECT_EQ(TimeAllowed({5s, 300ms}), 300ms);
}

}  // namespace
}  // namespace kestrin::publicaddr
