#include <fcntl.h>
#include <unistd.h>

#include "append_floor.h"
#include "base/text.h"

void BareAppend(const std::u16string& path, std::string_view bytes) {
    const int fd = ::open(kestrin::base::Utf16ToUtf8(path).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    [[maybe_unused]] const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    ::close(fd);
}
