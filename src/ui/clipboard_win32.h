#pragma once
// Putting a text on the clipboard for other programs to paste.

#include <windows.h>

#include <string_view>

namespace kestrin::ui {

// Empties the clipboard and puts `text` on it as CF_UNICODETEXT: the
// characters and one terminating zero. Throws EClipboardError when the
// clipboard cannot be opened within a few tries 20 ms apart,
// EResourcesExhausted when the text cannot be handed over.
void ReplaceClipboardText(HWND owner, std::u16string_view text);

}  // namespace kestrin::ui
