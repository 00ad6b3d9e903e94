#pragma once
// For the benchmarks that drive the real kestrin.exe: datagram bytes from
// text, and the lines its daily logs have gained.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/bytes.h"

namespace kestrin::bench {

using kestrin::test::Bytes;

// The lines in a program's daily logs, each file read on from where the last
// look at it ended.
class LogLines {
public:
    explicit LogLines(const std::filesystem::path& programDirectory) : directory_(programDirectory / "logfiles") {}
    std::uint64_t Now() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(directory_, ignored)) {
            std::ifstream in(entry.path(), std::ios::binary);
            auto& offset = offsets_[entry.path()];
            in.seekg(static_cast<std::streamoff>(offset));
            const std::string fresh{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            offset += fresh.size();
            lines_ += static_cast<std::uint64_t>(std::count(fresh.begin(), fresh.end(), '\n'));
        }
        return lines_;
    }

private:
    std::filesystem::path directory_;
    std::map<std::filesystem::path, std::uintmax_t> offsets_;
    std::uint64_t lines_ = 0;
};

}  // namespace kestrin::bench
