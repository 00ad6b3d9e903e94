#include <windows.h>

#include <stdexcept>

#include "base/unique_handle.h"
#include "net/main_thread_queue.h"
#include "support/main_loop.h"

namespace kestrin::test {

namespace {

constexpr wchar_t kWindowClass[] = L"KestrinTestMainLoop";

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NULL) {
        net::RunQueuedRequests();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void DestroyLoopWindow(HWND window) noexcept { ::DestroyWindow(window); }

}  // namespace

struct MainLoop::Platform {
    base::UniqueHandle<HWND, DestroyLoopWindow> window;
};

MainLoop::MainLoop() : platform_(std::make_unique<Platform>()) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassW(&windowClass);  // fails harmlessly when a former loop registered it
    // A top-level window that is never shown, like the program's application window.
    platform_->window.Reset(::CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                              windowClass.hInstance, nullptr));
    if (!platform_->window) throw std::runtime_error("CreateWindowExW failed");
    const HWND window = platform_->window.Get();
    net::SetMainThreadWakeUp([window] { ::PostMessageW(window, WM_NULL, 0, 0); });
}

MainLoop::~MainLoop() {
    // Withdrawn first: the window goes with platform_ after this body.
    net::SetMainThreadWakeUp(nullptr);
}

bool MainLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        MSG message;
        if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
            continue;
        }
        // Idle: the program runs what is queued then too.
        if (net::RunQueuedRequests() > 0) continue;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return done();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
    }
    return true;
}

}  // namespace kestrin::test
