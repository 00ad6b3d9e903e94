#pragma once
// The hand-over from listener threads to the main thread: one process-wide
// queue of requests. A listener thread queues a step, wakes the main thread
// and blocks until the main thread has run it; an error the step raised is
// raised again on the listener thread. The main thread runs the requests in
// queue order whenever it services its events, one at a time.

#include <chrono>
#include <functional>

namespace kestrin::net {

// Listener thread: runs `step` on the main thread and waits for it, with no
// time limit. Rethrows what the step threw.
void RunOnMainThread(const std::function<void()>& step);

// Main thread: runs every request queued now or while it runs, in order;
// each with the queue's lock released. Returns how many ran. May be entered
// again from within a step (a modal message box services events too).
int RunQueuedRequests();

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
