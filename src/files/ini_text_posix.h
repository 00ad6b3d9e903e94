#pragma once
// The INI text rules of the settings file where the platform has no profile
// functions of its own. They work on the file's bytes, so they never touch a
// file and never fail.
//
//   [ section ]        a heading; the name runs to the last "]" of the line
//   key = value        blanks around the key, "=" and the value do not count
//   ; comment          neither read nor matched
//
// Lines end in CR LF, LF or a lone CR. Section and key names are compared
// without regard to ASCII letter case; the first matching section, and in
// it the first matching key, is the one read and written.

#include <optional>
#include <string>
#include <string_view>

namespace kestrin::files {

// The value of `key` in section `section`, blanks around it removed and a
// pair of enclosing double or single quotes taken off; nothing when the
// section or the key is missing. Linear in the size of `text`.
std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key);

// `text` with `key` in `section` set to `value`: the key's line becomes
// "key=value" CR LF, keeping the key's spelling; a missing key is added
// after the section's last non-blank line, a missing section is appended at
// the end. Every other line is kept byte for byte.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

// The file's 8-bit text: each byte is the character of the same value
// (ISO 8859-1), so every byte read comes back unchanged when written.
// Characters above U+00FF are written as "?".
std::string IniBytesFromText(std::u16string_view text);
std::u16string IniTextFromBytes(std::string_view bytes);

}  // namespace kestrin::files
