#pragma once
// Reading 8-bit text in the system's ANSI code page, the counterpart of
// files::ToAnsi. A byte-order mark means nothing here: its bytes decode like
// any others.

#include <string>
#include <string_view>

namespace kestrin::publicaddr {

std::u16string FromAnsi(std::string_view bytes);

}  // namespace kestrin::publicaddr
