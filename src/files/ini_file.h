#pragma once
// The settings file object: one INI file named by its full path. It holds
// only the path; every read and write goes to the file itself, so nothing is
// cached between two accesses. On Windows the profile functions do the work.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/exception.h"

namespace kestrin::files {

// A settings write that failed; the file is as it was before.
class EIniFileException : public base::Exception {
public:
    using Exception::Exception;
};

// A read returns at most this many characters of a value; the rest is cut.
inline constexpr std::size_t kMaxIniValueLength = 2047;

class TIniFile {
public:
    // Opens nothing: the file need not exist.
    explicit TIniFile(std::u16string fileName);
    // Flushes the file; never throws.
    ~TIniFile();

    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::u16string& FileName() const { return fileName_; }

    // The value of `ident` in `section`, or `defaultValue` when the file, the
    // section or the key is missing. Never fails.
    std::u16string ReadString(std::u16string_view section, std::u16string_view ident,
                              std::u16string_view defaultValue) const;

    // The value read as an integer in the lenient integer text syntax:
    // non-zero is true, zero false; a missing, empty or non-numeric value
    // gives `defaultValue`.
    bool ReadBool(std::u16string_view section, std::u16string_view ident, bool defaultValue) const;

    // Creates the file and the section when missing and sets the key; every
    // other line stays. Throws EIniFileException, leaving the file as it was.
    void WriteString(std::u16string_view section, std::u16string_view ident, std::u16string_view value);

    // Writes "1" for true, "0" for false.
    void WriteBool(std::u16string_view section, std::u16string_view ident, bool value);

private:
    [[noreturn]] void ThrowCannotWrite() const;

    std::u16string fileName_;
};

}  // namespace kestrin::files
