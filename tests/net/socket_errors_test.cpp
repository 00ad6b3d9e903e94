#include "net/socket_errors.h"

#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "support/expect_error.h"

namespace kestrin::net {
namespace {

struct Row {
    int number;
    std::u16string text;
};

// Byte for byte as the user sees them, typed again rather than copied.
const Row kRows[] = {
    {10004, u"Unterbrochener Systemaufruf."},
    {10009, u"Falsche Dateinummer."},
    {10013, u"Zugriff verweigert."},
    {10014, u"Pufferfehler."},
    {10022, u"Ung\u00FCltiges Argument."},
    {10024, u"Zu viele ge\u00F6ffnete Dateien."},
    {10035, u"Operation w\u00FCrde blockieren."},
    {10036, u"Die Operation wird gerade durchgef\u00FChrt."},
    {10037, u"Operation wird bereits verarbeitet."},
    {10038, u"Socket-Operation f\u00FCr Nicht-Socket."},
    {10039, u"Zieladresse erforderlich."},
    {10040, u"Nachricht zu lang."},
    {10041, u"Falscher Protokolltyp f\u00FCr Socket."},
    {10042, u"Falsche Protokolloption."},
    {10043, u"Protokoll nicht unterst\u00FCtzt."},
    {10044, u"Socket-Typ wird nicht unterst\u00FCtzt."},
    {10045, u"Operation f\u00FCr Socket nicht unterst\u00FCtzt."},
    {10046, u"Protokollfamilie nicht unterst\u00FCtzt."},
    {10047, u"Die Adressfamilie wird von der Protokollfamilie nicht unterst\u00FCtzt."},
    {10048, u"Adresse wird bereits verwendet."},
    {10049, u"Angeforderte Adresse kann nicht zugewiesen werden."},
    {10050, u"Netzwerk ist heruntergefahren."},
    {10051, u"Netzwerk ist nicht erreichbar."},
    {10052, u"Netz hat die Verbindung verloren oder zur\u00FCckgesetzt."},
    {10053, u"Software verursachte einen Verbindungsabbruch."},
    {10054, u"Die Verbindung wurde von Peer zur\u00FCckgesetzt."},
    {10055, u"Kein Pufferplatz verf\u00FCgbar."},
    {10056, u"Socket ist bereits verbunden."},
    {10057, u"Socket ist nicht verbunden."},
    {10058, u"Nach Schlie\u00DFen des Socket kann weder gesendet noch empfangen werden."},
    {10059, u"Zu viele Referenzen; keine Verbindungen m\u00F6glich."},
    {10060, u"Zeit\u00FCberschreitung bei Verbindung."},
    {10061, u"Verbindung abgelehnt."},
    {10062, u"Zu viele Ebenen symbolischer Verkn\u00FCpfungen."},
    {10063, u"Dateiname zu lang."},
    {10064, u"Host ist heruntergefahren."},
    {10065, u"Keine Route zum Host."},
    {10066, u"Verzeichnis ist nicht leer"},
};

TEST(SocketErrorTest, EveryRowGivesNumberTextAndLineBreakWithoutSeparator) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.number);
        const std::u16string expected = u"Socket-Fehler # " + base::DecimalText(row.number) + row.text + u"\r\n";
        try {
            RaiseSocketError(row.number);
            ADD_FAILURE() << "nothing thrown";
        } catch (const EIdSocketError& error) {
            EXPECT_EQ(error.Message(), expected);
            EXPECT_EQ(error.ErrorNumber(), row.number);
        }
    }
    EXPECT_EQ(SocketErrorMessage(10048), u"Socket-Fehler # 10048Adresse wird bereits verwendet.\r\n");
}

TEST(SocketErrorTest, NumbersWithoutARowGiveOnlyTheNumber) {
    for (const int number : {10101, 10003, 10005, 10010, 10067, 10093, 0, -1, 98}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(SocketErrorMessage(number), u"Socket-Fehler # " + base::DecimalText(number) + u"\r\n");
    }
    EXPECT_THROW_MSG(RaiseSocketError(10101), EIdSocketError, u"Socket-Fehler # 10101\r\n");
}

TEST(SocketErrorTest, OnlyTheLastRowLacksAFullStop) {
    int withoutFullStop = 0;
    for (int number = 10000; number < 10100; ++number) {
        const std::u16string_view text = SocketErrorText(number);
        if (!text.empty() && text.back() != u'.') {
            EXPECT_EQ(number, 10066);
            ++withoutFullStop;
        }
    }
    EXPECT_EQ(withoutFullStop, 1);
}

TEST(SocketErrorTest, NotASocketIsItsOwnKindOfSocketError) {
    EXPECT_THROW_MSG(RaiseSocketError(10038), EIdNotASocket,
                     u"Socket-Fehler # 10038Socket-Operation f\u00FCr Nicht-Socket.\r\n");
    for (const int number : {10009, 10037, 10039}) {
        try {
            RaiseSocketError(number);
        } catch (const EIdNotASocket&) {
            ADD_FAILURE() << number << " is not 10038";
        } catch (const EIdSocketError&) {
        }
    }
}

TEST(SocketErrorTest, LibraryMessagesAppendTheSystemText) {
    EXPECT_EQ(LibraryLoadMessage(u"Das Modul wurde nicht gefunden."),
              u"Fehler beim Laden der Winsock2-Bibliothek (WS2_32.DLL): Das Modul wurde nicht gefunden.");
    EXPECT_EQ(LibraryFunctionMessage(u"WSAEnumProtocolsW", u"x"),
              u"Fehler beim Aufruf der Winsock2-Bibliotheksfunktion WSAEnumProtocolsW: x");
}

}  // namespace
}  // namespace kestrin::net
