#include <windows.h>

#include <stdexcept>

#include "support/other_program.h"

namespace kestrin::test {

// A writer and a reader share reading and writing, so whether the file layer
// gets in depends only on its own request meeting this hold's access.
OtherProgramHold::OtherProgramHold(const std::filesystem::path& path, Access access)
    : handle_(reinterpret_cast<std::intptr_t>(
          ::CreateFileW(path.c_str(), access == kWriter ? GENERIC_WRITE : GENERIC_READ,
                        access == kExclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr))) {
    if (!handle_) throw std::runtime_error("cannot open " + path.string());
}

void OtherProgramHold::CloseNative(Native handle) noexcept { ::CloseHandle(reinterpret_cast<HANDLE>(handle)); }

}  // namespace kestrin::test
