#pragma once
// The floor of one log append: the bare platform calls that open an existing
// file for appending, write the bytes and close it, with nothing checked.

#include <string>
#include <string_view>

void BareAppend(const std::u16string& path, std::string_view bytes);
