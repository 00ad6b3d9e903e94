#include <windows.h>

#include <string>

#include "base/win32_text.h"
#include "files/text_file.h"
#include "files/write_steps.h"

namespace kestrin::files {

namespace {

using base::AsWide;

[[noreturn]] void ThrowLastError() {
    throw EInOutError(static_cast<int>(::GetLastError()));
}

std::intptr_t OpenHandle(const std::u16string& path, DWORD access, DWORD disposition) {
    // Read sharing only: other programs may read the file but not write to it meanwhile.
    const HANDLE handle =
        ::CreateFileW(AsWide(path), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) ThrowLastError();
    return reinterpret_cast<std::intptr_t>(handle);
}

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

int SystemSize(std::intptr_t handle, std::uint64_t& size) {
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(AsHandle(handle), &length)) return static_cast<int>(::GetLastError());
    size = static_cast<std::uint64_t>(length.QuadPart);
    return 0;
}

int SystemWrite(std::intptr_t handle, std::string_view bytes, std::size_t& written) {
    const DWORD chunk = bytes.size() > MAXDWORD ? MAXDWORD : static_cast<DWORD>(bytes.size());
    DWORD done = 0;
    if (!::WriteFile(AsHandle(handle), bytes.data(), chunk, &done, nullptr)) return static_cast<int>(::GetLastError());
    written = done;
    return 0;
}

int SystemCut(std::intptr_t handle, std::uint64_t size) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(AsHandle(handle), position, nullptr, FILE_BEGIN) || !::SetEndOfFile(AsHandle(handle))) {
        return static_cast<int>(::GetLastError());
    }
    return 0;
}

}  // namespace

bool FileExists(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(AsWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(AsWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void MakeDirectory(const std::u16string& path) {
    if (!::CreateDirectoryW(AsWide(path), nullptr)) ThrowLastError();
}

TextFile TextFile::Create(const std::u16string& path) {
    // Read access too: an append reads the last bytes of what it appends to.
    return TextFile(OpenHandle(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS));
}

TextFile TextFile::OpenForAppend(const std::u16string& path) {
    TextFile file(OpenHandle(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    if (!::SetFilePointerEx(AsHandle(file.handle_.Get()), LARGE_INTEGER{}, nullptr, FILE_END)) ThrowLastError();
    return file;
}

TextFile TextFile::OpenOrCreate(const std::u16string& path) {
    return FileExists(path) ? OpenForAppend(path) : Create(path);
}

WriteSteps& TextFileWriteSteps() {
    static WriteSteps steps{SystemSize, SystemWrite, SystemCut};
    return steps;
}

// Leaves the file position after the bytes read. A seek and a plain read:
// under Wine a read at an offset given in an OVERLAPPED costs several times
// as much.
std::size_t TextFile::ReadAt(std::uint64_t offset, char* into, std::size_t count) const {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    if (!::SetFilePointerEx(AsHandle(handle_.Get()), position, nullptr, FILE_BEGIN) ||
        !::ReadFile(AsHandle(handle_.Get()), into, static_cast<DWORD>(count), &read, nullptr)) {
        ThrowLastError();
    }
    return read;
}

int TextFile::CloseNative(NativeHandle handle) noexcept {
    return ::CloseHandle(AsHandle(handle)) ? 0 : static_cast<int>(::GetLastError());
}

}  // namespace kestrin::files
