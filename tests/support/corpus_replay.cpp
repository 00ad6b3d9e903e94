// Feeds every file of a fuzz target's checked-in corpus to the target's
// checks, natively with this build's sanitizers; a broken invariant stops the
// program. Directories or files named on the command line
// (a fuzzer's crash file, say) take the place of the corpus.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputFiles(const fs::path& input) {
    if (!fs::is_directory(input)) return {input};
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(input)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> inputs(argv + 1, argv + argc);
    if (inputs.empty()) inputs.emplace_back(KESTRIN_CORPUS_DIR);

    std::size_t replayed = 0;
    for (const fs::path& input : inputs) {
        for (const fs::path& file : InputFiles(input)) {
            std::ifstream stream(file, std::ios::binary);
            if (!stream) {
                std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
                return 1;
            }
            const std::vector<char> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    std::printf("%zu inputs replayed\n", replayed);
    return replayed > 0 ? 0 : 1;  // an empty or missing corpus proves nothing
}
