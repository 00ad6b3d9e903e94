#pragma once
// Catches the message boxes this thread opens while the watch lives: records
// what each shows and dismisses it with OK at once, so a test that opens one
// neither blocks nor waits.

#include <windows.h>

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

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    ui::UniqueHook hook_;
    std::vector<SeenMessageBox> seen_;
};

}  // namespace kestrin::test
