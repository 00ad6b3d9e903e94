#pragma once
// The two system steps of writing a text file, replaceable so that a test can
// make a write stop part way through a line, or the cut back after it fail:
// no real disk can be made to do either on demand. The program never
// replaces them.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrin::files {

struct WriteSteps {
    // Writes a first part of `bytes` at the current position and puts its
    // length in `written`; 0, or the Windows number of the failure.
    int (*write)(std::intptr_t handle, std::string_view bytes, std::size_t& written);
    // Cuts the file back to its first `size` bytes; 0, or the Windows number
    // of the failure.
    int (*cut)(std::intptr_t handle, std::uint64_t size);
};

// The steps in use: the system's unless a test has put others in.
WriteSteps& TextFileWriteSteps();

}  // namespace kestrin::files
