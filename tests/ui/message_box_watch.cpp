#include "message_box_watch.h"

#include <string_view>

#include "ui/wide_text.h"

namespace kestrin::test {

namespace {

thread_local MessageBoxWatch* watch = nullptr;

constexpr wchar_t kNotesClass[] = L"KestrinTestBoxNotes";
constexpr UINT kBoxShown = WM_APP + 1;

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
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kNotesClass;
    ::RegisterClassExW(&windowClass);
    notes_.Reset(::CreateWindowExW(0, kNotesClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr));
    watch = this;
}

MessageBoxWatch::~MessageBoxWatch() {
    watch = nullptr;
}

LRESULT CALLBACK MessageBoxWatch::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kBoxShown && watch != nullptr && watch->act_) {
        const auto box = reinterpret_cast<HWND>(wParam);
        if (::IsWindow(box)) watch->act_(box);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MessageBoxWatch::Hook(int code, WPARAM wParam, LPARAM lParam) {
    // Once the box has handled WM_INITDIALOG it has its texts, buttons and place.
    const auto& call = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code != HC_ACTION || watch == nullptr) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const HWND window = call.hwnd;
    wchar_t className[16];
    const bool box = ::GetClassNameW(window, className, 16) > 0 && std::wstring_view(className) == L"#32770";
    if (box && call.message == WM_INITDIALOG) {
        watch->seen_.push_back(Inspect(window));
        if (!watch->act_) ::PostMessageW(window, WM_COMMAND, IDOK, 0);
    }
    // The note goes once the box shows; its modal loop then delivers it.
    if (box && call.message == WM_SHOWWINDOW && call.wParam != FALSE && watch->act_) {
        ::PostMessageW(watch->notes_.Get(), kBoxShown, reinterpret_cast<WPARAM>(window), 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace kestrin::test
