#pragma once
// SCOPED_TRACE takes narrow text; this shows a UTF-16 text in it.

#include <string>
#include <string_view>

#include "base/text.h"

inline std::string Trace(std::u16string_view text) {
    return kestrin::base::Utf16ToUtf8(text);
}
