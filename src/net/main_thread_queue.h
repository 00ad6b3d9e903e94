#pragma once
// The hand-over from listener threads to the main thread: one process-wide
// queue of requests. A listener thread queues a step, wakes the main thread
// and blocks until the main thread has run it; an error the step raised is
// raised again on the listener thread. Each side first looks for the other
// for a moment before it waits through the system: the main thread for the
// next request after a delivery, the listener for its request's end; and a
// main thread that is still at the queue is not woken. The main thread runs the requests in
// queue order whenever it services its events, one at a time: a delivery
// never runs inside another, and nothing that waits for a listener thread
// runs inside one (AfterDelivery), or the thread whose delivery is on the
// stack would be waited for by itself.

#include <chrono>
#include <functional>

namespace kestrin::net {

// Listener thread: runs `step` on the main thread and waits for it, with no
// time limit. Rethrows what the step threw.
void RunOnMainThread(const std::function<void()>& step);

// Main thread: runs every request queued now or while it runs, in order;
// each with the queue's lock released, and after each the actions it left
// for AfterDelivery. After a delivery it looks out briefly for the next
// request, for at most a few milliseconds in a row, so the event loop still
// has its turn in a storm. Returns how many ran. Entered again from within a step
// (a message the system dispatches while the step waits for the shell) it
// runs nothing: the outer call goes on with the next request once the step
// has returned.
int RunQueuedRequests();

// Main thread: whether a delivery is running, somewhere down the stack.
bool DeliveryRunning();

// Main thread: runs `action` now when no delivery runs, else as soon as the
// running delivery has returned and its listener thread has been let go,
// before the next request. For what must not run inside a delivery: a close
// waits for the listener threads to end.
void AfterDelivery(std::function<void()> action);

// Main thread: waits up to `timeout` until a request is queued or `done`
// holds, whichever comes first; `done` is checked under the queue's lock (so
// it must not call these functions) and whoever makes it true calls
// NotifyMainThread. Returns `done()`.
bool WaitForRequestsOr(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// Waits up to `timeout` until a request is queued; returns whether one is.
bool WaitForRequests(std::chrono::milliseconds timeout);

// Wakes a main thread that waits in WaitForRequestsOr.
void NotifyMainThread();

// Whether a request is waiting to run.
bool RequestsQueued();

// The seam to the main thread's event loop: called on a listener thread after
// it queued a request. The Windows program posts an empty message (WM_NULL)
// to its hidden application window, whose handler runs RunQueuedRequests, so
// deliveries go on while a modal message box is open. Unset, nothing is
// called and the main thread is expected to wait in WaitForRequestsOr.
void SetMainThreadWakeUp(std::function<void()> wakeUp);

}  // namespace kestrin::net
