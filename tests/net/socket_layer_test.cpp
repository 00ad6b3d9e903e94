#include "net/socket_layer.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "net/udp_socket.h"

namespace kestrin::net {
namespace {

TEST(SocketLayerTest, CountsUsersThroughNestingAndMoves) {
    const int before = SocketLayerUsers();
    {
        SocketLayerUse first;
        SocketLayerUse second;
        EXPECT_EQ(SocketLayerUsers(), before + 2);
        SocketLayerUse moved(std::move(first));
        EXPECT_EQ(SocketLayerUsers(), before + 2);
        second = std::move(moved);  // second's own use ends, moved's passes over
        EXPECT_EQ(SocketLayerUsers(), before + 1);
    }
    EXPECT_EQ(SocketLayerUsers(), before);
}

TEST(SocketLayerTest, UsersComeAndGoOnManyThreadsAtOnce) {
    const int before = SocketLayerUsers();
    constexpr int kThreads = 8;
    constexpr int kRounds = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([] {
            for (int round = 0; round < kRounds; ++round) {
                SocketLayerUse use;
                EXPECT_TRUE(CreateDatagramSocket(Id_IPv4));
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(SocketLayerUsers(), before);
}

TEST(SocketLayerTest, StartsAgainAfterItsLastUserWent) {
    for (int round = 0; round < 3; ++round) {
        SocketLayerUse use;
        EXPECT_TRUE(SupportsIPv4());
        EXPECT_TRUE(CreateDatagramSocket(Id_IPv4));
    }
}

}  // namespace
}  // namespace kestrin::net
