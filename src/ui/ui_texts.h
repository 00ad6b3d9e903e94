#pragma once
// The window layer's fixed texts.

#include <string>
#include <string_view>

#include "base/version.h"

namespace kestrin::ui {

inline constexpr std::u16string_view kProductAndVersion = u"Kestrin " KESTRIN_VERSION;
// The maker notice: in the main window's caption and the About box's.
inline constexpr std::u16string_view kMakerNotice = u"\u00A9 2026 The Kestrin developers";
inline constexpr std::u16string_view kAboutText = u"Kestrin " KESTRIN_VERSION "\r\nA syslog receiver for the notification area.";

inline std::u16string MainWindowCaption() {
    return std::u16string(kProductAndVersion) + u" " + std::u16string(kMakerNotice);
}

}  // namespace kestrin::ui
