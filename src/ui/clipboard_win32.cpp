#include "ui/clipboard_win32.h"

#include <algorithm>

#include "ui/ui_errors.h"
#include "ui/win32_handles.h"

namespace kestrin::ui {

namespace {

// Clipboard histories, clipboard managers and remote desktops open the
// clipboard for a moment whenever it changes, so a refusal is retried before
// it counts.
constexpr int kOpenTries = 10;
constexpr DWORD kOpenRetryMilliseconds = 20;

// The clipboard opened for one scope: other programs cannot use it meanwhile.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) {
        for (int tries = 1; !::OpenClipboard(owner); ++tries) {
            if (tries == kOpenTries) throw EClipboardError(::GetLastError());
            ::Sleep(kOpenRetryMilliseconds);
        }
    }
    ~OpenClipboardScope() { ::CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

UniqueGlobal TextMemory(std::u16string_view text) {
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!memory) throw EResourcesExhausted();
    auto* characters = static_cast<wchar_t*>(::GlobalLock(memory.Get()));
    if (characters == nullptr) throw EResourcesExhausted();
    std::copy(text.begin(), text.end(), characters);
    characters[text.size()] = L'\0';
    ::GlobalUnlock(memory.Get());
    return memory;
}

}  // namespace

void ReplaceClipboardText(HWND owner, std::u16string_view text) {
    UniqueGlobal memory = TextMemory(text);
    OpenClipboardScope clipboard(owner);
    ::EmptyClipboard();
    if (::SetClipboardData(CF_UNICODETEXT, memory.Get()) == nullptr) throw EResourcesExhausted();
    // The clipboard owns the memory from now on.
    memory.Release();
}

}  // namespace kestrin::ui
