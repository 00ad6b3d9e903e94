#pragma once
// Plays the program's main thread for tests and benchmarks: services the
// delivery queue the way the program does on its platform. On Windows a
// hidden window gets the listener threads' WM_NULL and runs the deliveries in
// its window procedure; elsewhere the loop waits on the queue's own signal.

#include <chrono>
#include <functional>
#include <memory>

namespace kestrin::test {

class MainLoop {
public:
    MainLoop();  // registers itself as the main thread's wake-up
    ~MainLoop();
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    // Services deliveries until `done()` holds or `timeout` has passed;
    // returns done(). `done` is checked after every delivery.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    struct Platform;
    std::unique_ptr<Platform> platform_;
};

}  // namespace kestrin::test
