#include "net/main_thread_queue.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace kestrin::net {

namespace {

using Clock = std::chrono::steady_clock;

// A thread that hands over and one that takes over mostly find the other's
// part done within microseconds; looking for it that long costs far less
// than a wake-up through the system, which is all a blocking wait saves.
// Longer than a listener's turn between two datagrams of a storm (receive,
// record) and than most deliveries, on every platform we run on.
constexpr auto kLookOut = std::chrono::microseconds(500);
// The main thread looks out for the next request only this long in a row:
// then the event loop has its turn at the latest once the queue is empty.
constexpr auto kLookOutSlice = std::chrono::milliseconds(10);

struct Request {
    const std::function<void()>* step;
    std::atomic<bool> done{false};
    std::exception_ptr error;
};

struct Queue {
    std::mutex lock;
    std::condition_variable queued;     // the main thread waits on it
    std::condition_variable completed;  // listener threads wait on it
    std::deque<Request*> pending;
    // pending.size(), for a look without the lock.
    std::atomic<std::size_t> pendingCount{0};
    std::function<void()> wakeUp;
    // Under the lock: the main thread is in RunQueuedRequests and looks at
    // the queue again before it leaves, so a request queued now needs no
    // wake-up.
    bool servicing = false;
    // The main thread's alone, so without the lock.
    bool delivering = false;
    std::vector<std::function<void()>> afterDelivery;
};

Queue& TheQueue() {
    static Queue queue;
    return queue;
}

// What the delivery just ended left to be done after it.
void RunActionsLeftBy(Queue& queue) {
    std::vector<std::function<void()>> actions;
    actions.swap(queue.afterDelivery);
    for (const auto& action : actions) action();
}

// Looks for `done` for up to kLookOut, giving the processor away between
// looks; whether it came.
template <typename Done>
bool LookOut(const Done& done, Clock::time_point until) {
    until = std::min(until, Clock::now() + kLookOut);
    while (!done()) {
        if (Clock::now() >= until) return false;
        std::this_thread::yield();
    }
    return true;
}

}  // namespace

void RunOnMainThread(const std::function<void()>& step) {
    Queue& queue = TheQueue();
    Request request{&step, {false}, nullptr};
    std::unique_lock guard(queue.lock);
    queue.pending.push_back(&request);
    queue.pendingCount.store(queue.pending.size());
    // Signalled under the lock: a waiting main thread wakes into it only
    // when this thread waits below. The window message goes out with the
    // lock free, as a main thread woken by it at once needs the lock.
    queue.queued.notify_all();
    const std::function<void()> wakeUp = queue.servicing ? nullptr : queue.wakeUp;
    guard.unlock();
    if (wakeUp) wakeUp();
    const auto done = [&] { return request.done.load(); };
    if (!LookOut(done, Clock::time_point::max())) {
        guard.lock();
        queue.completed.wait(guard, done);
        guard.unlock();
    }
    if (request.error) std::rethrow_exception(request.error);
}

int RunQueuedRequests() {
    Queue& queue = TheQueue();
    if (queue.delivering) return 0;
    int ran = 0;
    const auto lookOutEnds = Clock::now() + kLookOutSlice;
    std::unique_lock guard(queue.lock);
    // Given back under the lock that found the queue empty, so a request
    // queued after it wakes the main thread; also when an action throws.
    struct Servicing {
        std::unique_lock<std::mutex>& guard;
        bool& servicing;
        const bool outer = std::exchange(servicing, true);
        ~Servicing() {
            if (!guard.owns_lock()) guard.lock();
            servicing = outer;
        }
    } servicing{guard, queue.servicing};
    while (true) {
        if (queue.pending.empty()) {
            // Right after a delivery its listener, or another, is likely to
            // come back within the look-out.
            if (ran == 0) break;
            guard.unlock();
            LookOut([&] { return queue.pendingCount.load() > 0; }, lookOutEnds);
            guard.lock();
            if (queue.pending.empty()) break;
        }
        Request* request = queue.pending.front();
        queue.pending.pop_front();
        queue.pendingCount.store(queue.pending.size());
        guard.unlock();
        std::exception_ptr error;
        queue.delivering = true;
        try {
            (*request->step)();
        } catch (...) {
            error = std::current_exception();
        }
        queue.delivering = false;
        guard.lock();
        // From here the listener thread may return and end the request's life.
        request->error = std::move(error);
        request->done.store(true);
        // Woken after the lock is free, the listener does not run into it at once.
        guard.unlock();
        queue.completed.notify_all();
        ++ran;
        RunActionsLeftBy(queue);
        guard.lock();
    }
    return ran;
}

bool DeliveryRunning() {
    return TheQueue().delivering;
}

void AfterDelivery(std::function<void()> action) {
    Queue& queue = TheQueue();
    if (queue.delivering) {
        queue.afterDelivery.push_back(std::move(action));
    } else {
        action();
    }
}

bool WaitForRequestsOr(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    Queue& queue = TheQueue();
    std::unique_lock guard(queue.lock);
    queue.queued.wait_for(guard, timeout, [&] { return !queue.pending.empty() || done(); });
    return done();
}

bool WaitForRequests(std::chrono::milliseconds timeout) {
    Queue& queue = TheQueue();
    std::unique_lock guard(queue.lock);
    return queue.queued.wait_for(guard, timeout, [&] { return !queue.pending.empty(); });
}

void NotifyMainThread() {
    Queue& queue = TheQueue();
    // Taking the lock orders the caller's change before the waiter's next check.
    { std::lock_guard guard(queue.lock); }
    queue.queued.notify_all();
}

bool RequestsQueued() {
    Queue& queue = TheQueue();
    std::lock_guard guard(queue.lock);
    return !queue.pending.empty();
}

void SetMainThreadWakeUp(std::function<void()> wakeUp) {
    Queue& queue = TheQueue();
    std::lock_guard guard(queue.lock);
    queue.wakeUp = std::move(wakeUp);
}

}  // namespace kestrin::net
