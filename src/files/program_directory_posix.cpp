#include <unistd.h>

#include <string>

#include "base/text.h"
#include "files/program_directory.h"

namespace kestrin::files {

const char16_t kPathSeparator = u'/';

std::u16string ExecutablePath() {
    std::string buffer(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) return {};
    buffer.resize(static_cast<std::size_t>(length));
    return base::Utf8ToUtf16(buffer);
}

}  // namespace kestrin::files
