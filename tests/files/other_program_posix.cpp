#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <stdexcept>

#include "files/other_program.h"

// A writer takes the same lock as the file layer; a reader takes none.
OtherProgramHold::OtherProgramHold(const std::filesystem::path& path, Access access)
    : handle_(::open(path.c_str(), (access == kWriter ? O_RDWR : O_RDONLY) | O_CLOEXEC)) {
    if (!handle_) throw std::runtime_error("cannot open " + path.string());
    if (access == kWriter && ::flock(static_cast<int>(handle_.Get()), LOCK_EX | LOCK_NB) != 0) {
        throw std::runtime_error("cannot lock " + path.string());
    }
}

void OtherProgramHold::CloseNative(Native handle) noexcept { ::close(static_cast<int>(handle)); }
