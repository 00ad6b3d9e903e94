#pragma once
// The 8-bit text of the files the program writes: the system's ANSI code
// page. A character the code page cannot hold becomes the system's closest
// replacement, or "?" when it has none; characters 0 to 127 keep their values.

#include <string>
#include <string_view>

namespace kestrin::files {

std::string ToAnsi(std::u16string_view text);

}  // namespace kestrin::files
