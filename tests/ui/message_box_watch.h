#pragma once
// Catches the message boxes this thread opens while the watch lives: records
// what each shows and dismisses it with OK at once, so a test that opens one
// neither blocks nor waits; or, once told so, hands each box, shown, to the
// test inside the box's own modal loop, to act on it as a user would.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/win32_handles.h"

namespace kestrin::test {

struct SeenMessageBox {
    HWND handle = nullptr;
    std::u16string caption;
    std::u16string text;
    RECT bounds{};
    HWND owner = nullptr;
    bool cancelButton = false;
    bool icon = false;
};

class MessageBoxWatch {
public:
    MessageBoxWatch();
    ~MessageBoxWatch();
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    const std::vector<SeenMessageBox>& Seen() const { return seen_; }

    // From now on each box is handed to `act` once it shows, from within its
    // modal loop; the box stays open until something closes it.
    void WhenShown(std::function<void(HWND box)> act) { act_ = std::move(act); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    ui::UniqueHook hook_;
    // Receives the note that a box shows, through the box's modal loop.
    ui::UniqueWindow notes_;
    std::function<void(HWND)> act_;
    std::vector<SeenMessageBox> seen_;
};

}  // namespace kestrin::test
