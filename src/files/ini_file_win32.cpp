#include <windows.h>

#include <algorithm>
#include <string>

#include "files/ini_file.h"

namespace kestrin::files {

namespace {

// Room for the longest value the read returns and its terminating zero.
constexpr DWORD kReadBufferLength = kMaxIniValueLength + 1;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

}  // namespace

TIniFile::~TIniFile() {
    // Without section, key and value the call writes out what the system may
    // still hold of this file.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, Wide(fileName_));
}

std::u16string TIniFile::ReadString(std::u16string_view section, std::u16string_view ident,
                                    std::u16string_view defaultValue) const {
    const std::u16string sectionText(section), identText(ident), defaultText(defaultValue);
    std::u16string buffer(kReadBufferLength, u'\0');
    const DWORD length = GetPrivateProfileStringW(Wide(sectionText), Wide(identText), Wide(defaultText),
                                                  reinterpret_cast<wchar_t*>(buffer.data()), kReadBufferLength,
                                                  Wide(fileName_));
    buffer.resize(std::min<std::size_t>(length, kMaxIniValueLength));
    return buffer;
}

void TIniFile::WriteString(std::u16string_view section, std::u16string_view ident, std::u16string_view value) {
    const std::u16string sectionText(section), identText(ident), valueText(value);
    if (!WritePrivateProfileStringW(Wide(sectionText), Wide(identText), Wide(valueText), Wide(fileName_))) {
        ThrowCannotWrite();
    }
}

}  // namespace kestrin::files
