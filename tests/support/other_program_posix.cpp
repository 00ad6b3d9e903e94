#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <stdexcept>

#include "support/other_program.h"

namespace kestrin::test {

// A writer, and one that shares with nobody, take the same lock as the file
// layer; a reader takes none.
OtherProgramHold::OtherProgramHold(const std::filesystem::path& path, Access access)
    : handle_(::open(path.c_str(), (access == kReader ? O_RDONLY : O_RDWR) | O_CLOEXEC)) {
    if (!handle_) throw std::runtime_error("cannot open " + path.string());
    if (access != kReader && ::flock(static_cast<int>(handle_.Get()), LOCK_EX | LOCK_NB) != 0) {
        throw std::runtime_error("cannot lock " + path.string());
    }
}

void OtherProgramHold::CloseNative(Native handle) noexcept { ::close(static_cast<int>(handle)); }

}  // namespace kestrin::test
