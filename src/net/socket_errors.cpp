#include "net/socket_errors.h"

#include "base/text.h"

namespace kestrin::net {

namespace {

struct ErrorText {
    int number;
    std::u16string_view text;
};

constexpr ErrorText kErrorTexts[] = {
    {10004, u"Unterbrochener Systemaufruf."},
    {10009, u"Falsche Dateinummer."},
    {10013, u"Zugriff verweigert."},
    {10014, u"Pufferfehler."},
    {10022, u"Ungültiges Argument."},
    {10024, u"Zu viele geöffnete Dateien."},
    {10035, u"Operation würde blockieren."},
    {10036, u"Die Operation wird gerade durchgeführt."},
    {10037, u"Operation wird bereits verarbeitet."},
    {10038, u"Socket-Operation für Nicht-Socket."},
    {10039, u"Zieladresse erforderlich."},
    {10040, u"Nachricht zu lang."},
    {10041, u"Falscher Protokolltyp für Socket."},
    {10042, u"Falsche Protokolloption."},
    {10043, u"Protokoll nicht unterstützt."},
    {10044, u"Socket-Typ wird nicht unterstützt."},
    {10045, u"Operation für Socket nicht unterstützt."},
    {10046, u"Protokollfamilie nicht unterstützt."},
    {10047, u"Die Adressfamilie wird von der Protokollfamilie nicht unterstützt."},
    {10048, u"Adresse wird bereits verwendet."},
    {10049, u"Angeforderte Adresse kann nicht zugewiesen werden."},
    {10050, u"Netzwerk ist heruntergefahren."},
    {10051, u"Netzwerk ist nicht erreichbar."},
    {10052, u"Netz hat die Verbindung verloren oder zurückgesetzt."},
    {10053, u"Software verursachte einen Verbindungsabbruch."},
    {10054, u"Die Verbindung wurde von Peer zurückgesetzt."},
    {10055, u"Kein Pufferplatz verfügbar."},
    {10056, u"Socket ist bereits verbunden."},
    {10057, u"Socket ist nicht verbunden."},
    {10058, u"Nach Schließen des Socket kann weder gesendet noch empfangen werden."},
    {10059, u"Zu viele Referenzen; keine Verbindungen möglich."},
    {10060, u"Zeitüberschreitung bei Verbindung."},
    {10061, u"Verbindung abgelehnt."},
    {10062, u"Zu viele Ebenen symbolischer Verknüpfungen."},
    {10063, u"Dateiname zu lang."},
    {10064, u"Host ist heruntergefahren."},
    {10065, u"Keine Route zum Host."},
    {10066, u"Verzeichnis ist nicht leer"},
};

constexpr std::u16string_view kSocketErrorFormat = u"Socket-Fehler # %d%s\r\n";
constexpr std::u16string_view kLibraryLoadFormat = u"Fehler beim Laden der Winsock2-Bibliothek (%s)";
constexpr std::u16string_view kLibraryFunctionFormat = u"Fehler beim Aufruf der Winsock2-Bibliotheksfunktion %s";
constexpr std::u16string_view kLibraryName = u"WS2_32.DLL";
constexpr std::u16string_view kSystemTextSeparator = u": ";

}  // namespace

EIdSocketError::EIdSocketError(int errorNumber)
    : Exception(SocketErrorMessage(errorNumber)), errorNumber_(errorNumber) {}

EIdCouldNotBindSocket::EIdCouldNotBindSocket(std::exception_ptr socketError)
    : Exception(u"Socket konnte nicht gebunden werden.", std::move(socketError)) {}

EIdIPVersionUnsupported::EIdIPVersionUnsupported()
    : Exception(u"Die angeforderte IPVersion-/Adress-Familie wird nicht unterstützt.") {}

std::u16string_view SocketErrorText(int errorNumber) {
    for (const ErrorText& row : kErrorTexts) {
        if (row.number == errorNumber) return row.text;
    }
    return {};
}

std::u16string SocketErrorMessage(int errorNumber) {
    const std::u16string withNumber = base::FillPlaceholder(kSocketErrorFormat, u"%d", base::DecimalText(errorNumber));
    return base::FillPlaceholder(withNumber, u"%s", SocketErrorText(errorNumber));
}

void RaiseSocketError(int errorNumber) {
    if (errorNumber == kWSAENOTSOCK) throw EIdNotASocket();
    throw EIdSocketError(errorNumber);
}

std::u16string LibraryLoadMessage(std::u16string_view systemText) {
    return base::FillPlaceholder(kLibraryLoadFormat, u"%s", kLibraryName) + std::u16string(kSystemTextSeparator) +
           std::u16string(systemText);
}

std::u16string LibraryFunctionMessage(std::u16string_view functionName, std::u16string_view systemText) {
    return base::FillPlaceholder(kLibraryFunctionFormat, u"%s", functionName) + std::u16string(kSystemTextSeparator) +
           std::u16string(systemText);
}

}  // namespace kestrin::net
