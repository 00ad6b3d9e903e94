#include "net/main_thread_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/main_loop.h"

namespace kestrin::net {
namespace {

using namespace std::chrono_literals;

TEST(MainThreadQueueTest, RequestsRunOnTheMainThreadInOrderAndErrorsTravelBack) {
    const std::thread::id mainThread = std::this_thread::get_id();
    std::vector<int> order;
    std::vector<std::string> caught;
    bool allOnMainThread = true;
    std::thread listener([&] {
        for (int i = 0; i < 3; ++i) {
            try {
                RunOnMainThread([&, i] {
                    allOnMainThread = allOnMainThread && std::this_thread::get_id() == mainThread;
                    order.push_back(i);
                    if (i == 1) throw std::runtime_error("raised on the main thread");
                });
            } catch (const std::runtime_error& error) {
                caught.push_back(error.what());
            }
        }
    });
    test::MainLoop loop;
    EXPECT_TRUE(loop.RunUntil([&] { return order.size() == 3; }, 20s));
    listener.join();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(caught, std::vector<std::string>{"raised on the main thread"});
    EXPECT_TRUE(allOnMainThread);
}

TEST(MainThreadQueueTest, ARequestNeverRunsInsideAnotherAndWhatItLeavesRunsBeforeTheNext) {
    // As a message the system dispatches while a delivery waits for the shell.
    std::vector<std::string> events;
    std::thread second;
    std::thread first([&] {
        RunOnMainThread([&] {
            events.push_back("first begins");
            AfterDelivery([&] { events.push_back(DeliveryRunning() ? "left, inside" : "left for after"); });
            second = std::thread([&] { RunOnMainThread([&] { events.push_back("second"); }); });
            EXPECT_TRUE(WaitForRequests(20s));
            EXPECT_EQ(RunQueuedRequests(), 0);
            events.push_back("first ends");
        });
    });
    test::MainLoop loop;
    EXPECT_TRUE(loop.RunUntil([&] { return events.size() == 4; }, 20s));
    first.join();
    second.join();
    EXPECT_EQ(events, (std::vector<std::string>{"first begins", "first ends", "left for after", "second"}));
}

TEST(MainThreadQueueTest, TheMainThreadIsWokenOnlyWhenItIsNotAtTheQueueAndThenAlways) {
    std::atomic<int> wakeUps{0};
    SetMainThreadWakeUp([&] { ++wakeUps; });
    std::thread second;
    std::thread first([&] {
        RunOnMainThread([&] {
            second = std::thread([] { RunOnMainThread([] {}); });
            while (!RequestsQueued()) std::this_thread::yield();
        });
    });
    ASSERT_TRUE(WaitForRequests(20s));
    // The second, queued while the first ran, without a wake-up of its own.
    EXPECT_EQ(RunQueuedRequests(), 2);
    first.join();
    second.join();
    EXPECT_EQ(wakeUps, 1);
    // Gone back to waiting: the next request wakes it.
    std::thread third([] { RunOnMainThread([] {}); });
    ASSERT_TRUE(WaitForRequests(20s) && RunQueuedRequests() == 1);
    third.join();
    EXPECT_EQ(wakeUps, 2);
    SetMainThreadWakeUp(nullptr);
}

}  // namespace
}  // namespace kestrin::net
