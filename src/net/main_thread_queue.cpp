#include "net/main_thread_queue.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <utility>
#include <vector>

namespace kestrin::net {

namespace {

struct Request {
    const std::function<void()>* step;
    bool done = false;
    std::exception_ptr error;
};

struct Queue {
    std::mutex lock;
    std::condition_variable queued;     // the main thread waits on it
    std::condition_variable completed;  // listener threads wait on it
    std::deque<Request*> pending;
    std::function<void()> wakeUp;
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

}  // namespace

void RunOnMainThread(const std::function<void()>& step) {
    Queue& queue = TheQueue();
    Request request{&step, false, nullptr};
    std::unique_lock guard(queue.lock);
    queue.pending.push_back(&request);
    // Signalled under the lock: a waiting main thread wakes into it only
    // when this thread waits below. The window message goes out with the
    // lock free, as a main thread woken by it at once needs the lock.
    queue.queued.notify_all();
    const std::function<void()> wakeUp = queue.wakeUp;
    guard.unlock();
    if (wakeUp) wakeUp();
    guard.lock();
    queue.completed.wait(guard, [&] { return request.done; });
    if (request.error) std::rethrow_exception(request.error);
}

int RunQueuedRequests() {
    Queue& queue = TheQueue();
    if (queue.delivering) return 0;
    int ran = 0;
    std::unique_lock guard(queue.lock);
    while (!queue.pending.empty()) {
        Request* request = queue.pending.front();
        queue.pending.pop_front();
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
        request->done = true;
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
