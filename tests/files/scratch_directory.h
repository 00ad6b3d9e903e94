#pragma once
// A fresh program directory for one test under the system's temporary
// directory, removed with everything in it when the test ends.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "files/program_directory.h"

class ScratchDirectory {
public:
    ScratchDirectory() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (std::string("kestrin_") + test->name() + "_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A path below the directory, as the file layer takes it.
    std::u16string Text(const std::filesystem::path& relative) const { return (path_ / relative).u16string(); }
    kestrin::files::ProgramDirectory AsProgramDirectory() const {
        return kestrin::files::ProgramDirectory(path_.u16string());
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
