#pragma once
// How an IPv4 answer is cut into its fields: at every ".", where a field
// that starts with a double quote is quoted ("" inside it stands for one ").
// A "." after a closing quote is its separator; any other character there
// starts the next field at once. A "." at the very end adds an empty field,
// and the empty text has no field at all.

#include <string>
#include <string_view>
#include <vector>

namespace kestrin::publicaddr {

std::vector<std::u16string> SplitDottedFields(std::u16string_view text);

}  // namespace kestrin::publicaddr
