#pragma once
// The directory of the running executable: config.cfg, ip_list.cfg and
// logfiles always live there, never in the working directory. Whoever needs
// it is handed a ProgramDirectory, so tests point it at a temporary directory.

#include <string>
#include <string_view>

namespace kestrin::files {

// The platform's path separator: "\" on Windows, "/" elsewhere.
extern const char16_t kPathSeparator;

class ProgramDirectory {
public:
    // `path` names a directory; a trailing separator is added when missing.
    explicit ProgramDirectory(std::u16string path);

    // The directory of the running executable.
    static ProgramDirectory OfExecutable();

    // The directory with its trailing separator.
    const std::u16string& Path() const { return path_; }

    // A file or directory name joined to the directory.
    std::u16string Join(std::u16string_view name) const { return path_ + std::u16string(name); }

private:
    std::u16string path_;
};

// The full path of the running executable (platform part).
std::u16string ExecutablePath();

}  // namespace kestrin::files
