#include "ui/ui_errors.h"

#include "base/text.h"
#include "base/win32_text.h"

namespace kestrin::ui {

EListInsertError::EListInsertError() : Exception(u"Zeile kann nicht eingefügt werden") {}

EClipboardError::EClipboardError(std::uint32_t systemErrorCode)
    : Exception(base::FillPlaceholder(u"Zwischenablage %s kann nicht geöffnet werden", u"%s",
                                      base::SystemErrorText(systemErrorCode))) {}

EResourcesExhausted::EResourcesExhausted() : Exception(u"Systemressourcen erschöpft") {}

EWindowCreateError::EWindowCreateError() : Exception(u"Fenster kann nicht erstellt werden") {}

}  // namespace kestrin::ui
