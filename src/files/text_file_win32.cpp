#include <windows.h>

#include <string>

#include "base/win32_text.h"
#include "files/text_file.h"

namespace kestrin::files {

namespace {

using base::AsWide;

[[noreturn]] void ThrowLastError() {
    throw EInOutError(static_cast<int>(GetLastError()));
}

std::intptr_t OpenHandle(const std::u16string& path, DWORD access, DWORD disposition) {
    // Read sharing only: other programs may read the file but not write to it meanwhile.
    const HANDLE handle =
        CreateFileW(AsWide(path), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) ThrowLastError();
    return reinterpret_cast<std::intptr_t>(handle);
}

HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

bool FileExists(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(AsWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(AsWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void MakeDirectory(const std::u16string& path) {
    if (!CreateDirectoryW(AsWide(path), nullptr)) ThrowLastError();
}

TextFile TextFile::Create(const std::u16string& path) {
    return TextFile(OpenHandle(path, GENERIC_WRITE, CREATE_ALWAYS));
}

TextFile TextFile::OpenForAppend(const std::u16string& path) {
    TextFile file(OpenHandle(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING));
    if (!SetFilePointerEx(AsHandle(file.handle_.Get()), LARGE_INTEGER{}, nullptr, FILE_END)) ThrowLastError();
    return file;
}

TextFile TextFile::OpenOrCreate(const std::u16string& path) {
    return FileExists(path) ? OpenForAppend(path) : Create(path);
}

void TextFile::Write(std::string_view bytes) {
    if (!IsOpen()) throw EInOutError(kErrorFileNotOpen);
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > MAXDWORD ? MAXDWORD : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle_.Get()), bytes.data(), chunk, &written, nullptr)) ThrowLastError();
        if (written == 0) throw EInOutError(kErrorDiskFull);
        bytes.remove_prefix(written);
    }
}

int TextFile::CloseNative(NativeHandle handle) noexcept {
    return CloseHandle(AsHandle(handle)) ? 0 : static_cast<int>(GetLastError());
}

}  // namespace kestrin::files
