#include "ui/ui_errors.h"

#include <windows.h>

#include <iterator>

#include "base/text.h"

namespace kestrin::ui {

EListInsertError::EListInsertError() : Exception(u"Zeile kann nicht eingefügt werden") {}

EClipboardError::EClipboardError(std::uint32_t systemErrorCode)
    : Exception(base::FillPlaceholder(u"Zwischenablage %s kann nicht geöffnet werden", u"%s",
                                      SystemErrorText(systemErrorCode))) {}

EResourcesExhausted::EResourcesExhausted() : Exception(u"Systemressourcen erschöpft") {}

EWindowCreateError::EWindowCreateError() : Exception(u"Fenster kann nicht erstellt werden") {}

std::u16string SystemErrorText(std::uint32_t systemErrorCode) {
    wchar_t text[512];
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                    systemErrorCode, 0, text, static_cast<DWORD>(std::size(text)), nullptr);
    // The system's texts end in a line break that would split the message.
    while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n')) --length;
    return {text, text + length};
}

}  // namespace kestrin::ui
