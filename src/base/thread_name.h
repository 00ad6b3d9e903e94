#pragma once
// Names the calling thread for debuggers and system tools; diagnostics only,
// so a platform that refuses the name is ignored.

#include <string_view>

namespace kestrin::base {

// An empty name gives "IdThread (unknown)".
void SetCurrentThreadName(std::u16string_view name);

}  // namespace kestrin::base
