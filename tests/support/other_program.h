#pragma once
// Another program's hold on a file, made with the platform's own calls and
// kept until destroyed: a writer, a reader that only reads, or one that
// shares the file with nobody, so that no other open gets through.

#include <cstdint>
#include <filesystem>

#include "base/unique_handle.h"

namespace kestrin::test {

class OtherProgramHold {
public:
    enum Access { kWriter, kReader, kExclusive };

    OtherProgramHold(const std::filesystem::path& path, Access access);

private:
    // A HANDLE or a descriptor; -1 means none on both.
    using Native = std::intptr_t;
    static void CloseNative(Native handle) noexcept;

    base::UniqueHandle<Native, CloseNative> handle_;
};

}  // namespace kestrin::test
