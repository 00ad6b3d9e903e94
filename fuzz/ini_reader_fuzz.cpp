// Any bytes as the content of a settings file: reads stay inside the text,
// a write makes its key read back, changes no other key and, written again,
// changes nothing more. Built with libFuzzer by the fuzz preset, and natively
// into the INI corpus replay test.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/ini_text_posix.h"

namespace {

using kestrin::files::FindIniValue;
using kestrin::files::SetIniValue;

struct Probe {
    std::string_view section, key;
};

// Keys the program reads, under both spellings of its section, and a key of
// another section.
constexpr Probe kOtherKeys[] = {
    {"MAIN", "Port"}, {"Main", "ERROR"}, {"main", "IP1"}, {"Other", "ViewHint"}, {"", ""},
};
constexpr std::string_view kSection = "Main";
constexpr std::string_view kKey = "ViewHint";
constexpr std::string_view kValue = "1";

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// A value is a piece of the text, without line breaks.
void CheckWithin(std::string_view text, std::optional<std::string_view> value) {
    if (!value) return;
    const char* end = text.data() + text.size();
    Check(value->empty() || (value->data() >= text.data() && value->data() + value->size() <= end));
    Check(value->find_first_of("\r\n") == std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view before(reinterpret_cast<const char*>(data), size);
    const std::string after = SetIniValue(before, kSection, kKey, kValue);

    Check(FindIniValue(after, "MAIN", "viewhint") == kValue);
    Check(SetIniValue(after, kSection, kKey, kValue) == after);
    for (const Probe& probe : kOtherKeys) {
        const std::optional<std::string_view> old = FindIniValue(before, probe.section, probe.key);
        CheckWithin(before, old);
        Check(FindIniValue(after, probe.section, probe.key) == old);
    }

    const std::u16string text = kestrin::files::IniTextFromBytes(before);
    Check(text.size() == before.size() && kestrin::files::IniBytesFromText(text) == before);
    return 0;
}
