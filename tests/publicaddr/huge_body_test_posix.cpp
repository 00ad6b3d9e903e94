// The end of a huge body, as the service sees it. Not under WinINet, which
// Wine builds to read on when a request closes early, while bytes keep
// coming, to keep the connection; that reading is off the asking thread.

#include <gtest/gtest.h>

#include <atomic>

#include "publicaddr/local_http_server.h"
#include "publicaddr/service_request.h"

namespace kestrin::publicaddr {
namespace {

TEST(AskServiceTest, AHugeBodyIsNotReadToItsEnd) {
    constexpr std::size_t kHuge = 100 * 1024 * 1024;
    std::atomic<std::size_t> sent = 0;
    test::LocalHttpServer huge(test::GeneratedBody(kHuge, sent));
    EXPECT_TRUE(AskService(huge.Url()).TooLong());
    ASSERT_TRUE(huge.WaitForReplies(1));
    // What the system's buffers took in before the client closed.
    EXPECT_LT(sent, kHuge / 4);
}

}  // namespace
}  // namespace kestrin::publicaddr
