#include "message_box_watch.h"

#include <string_view>

#include "ui/wide_text.h"

namespace kestrin::test {

namespace {

thread_local std::vector<SeenMessageBox>* seenBoxes = nullptr;

// The text control of a message box; the icon's id differs between systems.
constexpr int kTextId = 0xFFFF;
constexpr int kIconIds[] = {0x0014, 0x0440};

// The box itself is not visible yet, so the controls' own style bit tells.
bool Shown(HWND control) {
    return control != nullptr && (::GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

SeenMessageBox Inspect(HWND box) {
    SeenMessageBox seen;
    seen.handle = box;
    seen.caption = ui::WindowText(box);
    seen.text = ui::WindowText(::GetDlgItem(box, kTextId));
    ::GetWindowRect(box, &seen.bounds);
    seen.owner = ::GetWindow(box, GW_OWNER);
    seen.cancelButton = Shown(::GetDlgItem(box, IDCANCEL));
    for (const int id : kIconIds) {
        const HWND control = ::GetDlgItem(box, id);
        if (Shown(control) && ::SendMessageW(control, STM_GETICON, 0, 0) != 0) seen.icon = true;
    }
    return seen;
}

}  // namespace

MessageBoxWatch::MessageBoxWatch()
    : hook_(::SetWindowsHookExW(WH_CALLWNDPROCRET, &Hook, nullptr, ::GetCurrentThreadId())) {
    seenBoxes = &seen_;
}

MessageBoxWatch::~MessageBoxWatch() {
    seenBoxes = nullptr;
}

LRESULT CALLBACK MessageBoxWatch::Hook(int code, WPARAM wParam, LPARAM lParam) {
    // Once the box has handled WM_INITDIALOG it has its texts, buttons and place.
    const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call.message == WM_INITDIALOG && seenBoxes != nullptr) {
        const HWND window = call.hwnd;
        wchar_t className[16];
        if (::GetClassNameW(window, className, 16) > 0 && std::wstring_view(className) == L"#32770") {
            seenBoxes->push_back(Inspect(window));
            ::PostMessageW(window, WM_COMMAND, IDOK, 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace kestrin::test
