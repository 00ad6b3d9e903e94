#pragma once
// Another program's hold on a file, made with the platform's own calls and
// kept until destroyed: a writer, or a reader that only reads.

#include <cstdint>
#include <filesystem>

#include "base/unique_handle.h"

class OtherProgramHold {
public:
    enum Access { kWriter, kReader };

    OtherProgramHold(const std::filesystem::path& path, Access access);

private:
    // A HANDLE or a descriptor; -1 means none on both.
    using Native = std::intptr_t;
    static void CloseNative(Native handle) noexcept;

    kestrin::base::UniqueHandle<Native, CloseNative> handle_;
};
