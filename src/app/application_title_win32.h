#pragma once
// The application title: the task-bar button's text and the caption of the
// program's message boxes.

#include <string>
#include <string_view>

namespace kestrin::app {

// The file name of `executablePath` without its directory, cut at its first
// dot, every character after the first in lower case: "KESTRIN.EXE" gives
// "Kestrin".
std::u16string ApplicationTitle(std::u16string_view executablePath);

}  // namespace kestrin::app
