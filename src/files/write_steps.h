#pragma once
// The three system steps of appending to a text file, replaceable so that a
// test can make the size query fail, a write stop part way through a line,
// or the cut back after it fail: no real disk can be made to do any of them
// on demand. The program never replaces them.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrin::files {

struct WriteSteps {
    // Puts the file's length in bytes in `size`; 0, or the Windows number of
    // the failure.
    int (*size)(std::intptr_t handle, std::uint64_t& size);
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
