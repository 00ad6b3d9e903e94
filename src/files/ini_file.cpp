#include "files/ini_file.h"

#include "base/integer_text.h"
#include "base/text.h"

namespace kestrin::files {

TIniFile::TIniFile(std::u16string fileName) : fileName_(std::move(fileName)) {}

bool TIniFile::ReadBool(std::u16string_view section, std::u16string_view ident, bool defaultValue) const {
    return base::ParseIntegerOr(ReadString(section, ident, u""), defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(std::u16string_view section, std::u16string_view ident, bool value) {
    WriteString(section, ident, value ? u"1" : u"0");
}

void TIniFile::ThrowCannotWrite() const {
    throw EIniFileException(base::FillPlaceholder(u"In %s kann nicht geschrieben werden", u"%s", fileName_));
}

}  // namespace kestrin::files
