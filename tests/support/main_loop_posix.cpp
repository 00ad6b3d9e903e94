#include "support/main_loop.h"

#include "net/main_thread_queue.h"

namespace kestrin::test {

struct MainLoop::Platform {};

MainLoop::MainLoop() = default;
MainLoop::~MainLoop() = default;

bool MainLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        net::RunQueuedRequests();
        if (done()) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        net::WaitForRequestsOr(done, left);
    }
}

}  // namespace kestrin::test
