#include "files/in_out_error.h"

#include "base/text.h"

namespace kestrin::files {

std::u16string InOutErrorMessage(int errorCode) {
    switch (errorCode) {
        case kErrorFileNotFound: return u"Datei nicht gefunden";
        case kErrorPathNotFound: return u"Ungültiger Dateiname";
        case kErrorTooManyOpenFiles: return u"Zu viele geöffnete Dateien";
        case kErrorAccessDenied: return u"Dateizugriff verweigert";
        // Numbers of the run-time layer itself, not of the system.
        case 100: return u"Versuch hinter dem Dateiende zu lesen";
        case 101: return u"Zu wenig Speicherplatz";
        case 106: return u"Ungültige numerische Eingabe";
        default: return base::FillPlaceholder(u"E/A-Fehler %d", u"%d", base::DecimalText(errorCode));
    }
}

EInOutError::EInOutError(int errorCode) : Exception(InOutErrorMessage(errorCode)), errorCode_(errorCode) {}

}  // namespace kestrin::files
