#include <windows.h>

#include <string>

#include "files/program_directory.h"

namespace kestrin::files {

const char16_t kPathSeparator = u'\\';

std::u16string ExecutablePath() {
    // GetModuleFileNameW cuts the name silently when the buffer is too small.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::u16string(buffer.begin(), buffer.begin() + length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace kestrin::files
