#pragma once
// Another program's hold on a file, made with the platform's own calls and
// kept until destroyed: a writer, or a reader that only reads.

#include <cstdint>
#include <filesystem>

class OtherProgramHold {
public:
    enum Access { kWriter, kReader };

    OtherProgramHold(const std::filesystem::path& path, Access access);
    ~OtherProgramHold();
    OtherProgramHold(const OtherProgramHold&) = delete;
    OtherProgramHold& operator=(const OtherProgramHold&) = delete;

private:
    std::intptr_t handle_;
};
