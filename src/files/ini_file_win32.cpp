#include <windows.h>

#include <algorithm>
#include <string>

#include "base/win32_text.h"
#include "files/ini_file.h"

namespace kestrin::files {

namespace {

// Room for the longest value the read returns and its terminating zero.
constexpr DWORD kReadBufferLength = kMaxIniValueLength + 1;

using base::AsWide;

}  // namespace

TIniFile::~TIniFile() {
    // Without section, key and value the call writes out what the system may
    // still hold of this file.
    ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, AsWide(fileName_));
}

std::u16string TIniFile::ReadString(std::u16string_view section, std::u16string_view ident,
                                    std::u16string_view defaultValue) const {
    const std::u16string sectionText(section), identText(ident), defaultText(defaultValue);
    std::u16string buffer(kReadBufferLength, u'\0');
    const DWORD length = ::GetPrivateProfileStringW(AsWide(sectionText), AsWide(identText), AsWide(defaultText),
                                                  AsWide(buffer), kReadBufferLength, AsWide(fileName_));
    buffer.resize(std::min<std::size_t>(length, kMaxIniValueLength));
    return buffer;
}

void TIniFile::WriteString(std::u16string_view section, std::u16string_view ident, std::u16string_view value) {
    const std::u16string sectionText(section), identText(ident), valueText(value);
    if (!::WritePrivateProfileStringW(AsWide(sectionText), AsWide(identText), AsWide(valueText), AsWide(fileName_))) {
        ThrowCannotWrite();
    }
}

}  // namespace kestrin::files
