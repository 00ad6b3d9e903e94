#include "files/program_directory.h"

namespace kestrin::files {

ProgramDirectory::ProgramDirectory(std::u16string path) : path_(std::move(path)) {
    if (path_.empty() || path_.back() != kPathSeparator) path_ += kPathSeparator;
}

ProgramDirectory ProgramDirectory::OfExecutable() {
    std::u16string path = ExecutablePath();
    path.erase(path.find_last_of(kPathSeparator) + 1);
    return ProgramDirectory(std::move(path));
}

}  // namespace kestrin::files
