#include "files/ini_text_posix.h"

#include <algorithm>

#include "base/text.h"

namespace kestrin::files {

namespace {

constexpr std::string_view kBlanks = " \t\v\f";
constexpr std::string_view kLineBreak = "\r\n";
constexpr char kReplacement = '?';
constexpr char16_t kLastByteCharacter = u'\u00FF';

// One line of the text, as offsets: its content runs from `begin` to `end`,
// its line break (if any) from `end` to `next`.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;

    bool HasLineBreak() const { return next > end; }
};

Line LineAt(std::string_view text, std::size_t begin) {
    const std::size_t end = text.find_first_of(kLineBreak, begin);
    if (end == std::string_view::npos) return {begin, text.size(), text.size()};
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    return {begin, end, next};
}

std::string_view TrimLeft(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view Trim(std::string_view text) {
    text = TrimLeft(text);
    return text.substr(0, text.find_last_not_of(kBlanks) + 1);
}

enum class LineKind { kBlank, kComment, kHeading, kEntry };

// What one line holds: a heading's name, or an entry's key and its value
// (no value when the line has no "=").
struct ParsedLine {
    LineKind kind;
    std::string_view name;
    std::optional<std::string_view> value;
};

ParsedLine Parse(std::string_view content) {
    const std::string_view text = TrimLeft(content);
    if (text.empty()) return {LineKind::kBlank, {}, {}};
    if (text.front() == ';') return {LineKind::kComment, {}, {}};
    if (text.front() == '[') {
        const std::size_t close = text.rfind(']');
        // A "[" without "]" is no heading but an entry of its own.
        if (close != std::string_view::npos) return {LineKind::kHeading, Trim(text.substr(1, close - 1)), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return {LineKind::kEntry, Trim(text), {}};
    return {LineKind::kEntry, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string EntryLine(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append(kLineBreak);
    return line;
}

}  // namespace

std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key) {
    bool inSection = false;
    for (std::size_t position = 0; position < text.size();) {
        const Line line = LineAt(text, position);
        position = line.next;
        const ParsedLine parsed = Parse(text.substr(line.begin, line.end - line.begin));
        if (parsed.kind == LineKind::kHeading) {
            // Only the first section of that name counts.
            if (inSection) return std::nullopt;
            inSection = base::SameIgnoringAsciiCase(parsed.name, section);
        } else if (inSection && parsed.kind == LineKind::kEntry && parsed.value &&
                   base::SameIgnoringAsciiCase(parsed.name, key)) {
            return Unquote(*parsed.value);
        }
    }
    return std::nullopt;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    // The section's heading or last non-blank line, after which a new key goes.
    std::optional<Line> anchor;
    for (std::size_t position = 0; position < text.size();) {
        const Line line = LineAt(text, position);
        position = line.next;
        const ParsedLine parsed = Parse(text.substr(line.begin, line.end - line.begin));
        if (parsed.kind == LineKind::kHeading) {
            if (anchor) break;
            if (base::SameIgnoringAsciiCase(parsed.name, section)) anchor = line;
            continue;
        }
        if (!anchor) continue;
        // A bare key without "=" is that key too, so it gets its value.
        if (parsed.kind == LineKind::kEntry && base::SameIgnoringAsciiCase(parsed.name, key)) {
            std::string result(text.substr(0, line.begin));
            result += EntryLine(parsed.name, value);
            result += text.substr(line.next);
            return result;
        }
        if (parsed.kind != LineKind::kBlank) anchor = line;
    }

    if (anchor) {
        std::string result(text.substr(0, anchor->next));
        if (!anchor->HasLineBreak()) result += kLineBreak;
        result += EntryLine(key, value);
        result += text.substr(anchor->next);
        return result;
    }

    std::string result(text);
    if (!result.empty() && kLineBreak.find(result.back()) == std::string_view::npos) result += kLineBreak;
    result.append("[").append(section).append("]").append(kLineBreak);
    result += EntryLine(key, value);
    return result;
}

std::string IniBytesFromText(std::u16string_view text) {
    std::string bytes(text.size(), kReplacement);
    std::ranges::transform(text, bytes.begin(), [](char16_t c) {
        return c <= kLastByteCharacter ? static_cast<char>(c) : kReplacement;
    });
    return bytes;
}

std::u16string IniTextFromBytes(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    std::ranges::transform(bytes, text.begin(),
                           [](char byte) { return static_cast<char16_t>(static_cast<unsigned char>(byte)); });
    return text;
}

}  // namespace kestrin::files
