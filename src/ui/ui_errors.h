#pragma once
// The window layer's error kinds and their German texts.

#include <cstdint>
#include <string>

#include "base/exception.h"

namespace kestrin::ui {

// The list refused a row: "Zeile kann nicht eingefügt werden".
class EListInsertError : public base::Exception {
public:
    EListInsertError();
};

// Another program holds the clipboard open: "Zwischenablage <system text>
// kann nicht geöffnet werden".
class EClipboardError : public base::Exception {
public:
    explicit EClipboardError(std::uint32_t systemErrorCode);
};

// Memory or a handle could not be had: "Systemressourcen erschöpft".
class EResourcesExhausted : public base::Exception {
public:
    EResourcesExhausted();
};

// A window or control could not be created: "Fenster kann nicht erstellt werden".
class EWindowCreateError : public base::Exception {
public:
    EWindowCreateError();
};

}  // namespace kestrin::ui
