#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "base/text.h"
#include "files/text_file.h"
#include "files/write_steps.h"

// Failures carry Windows error numbers here too, so that the messages and the
// callers' handling stay the same on every platform.

namespace kestrin::files {

namespace {

bool IsDirectory(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The directory part of `path`, for telling a missing file from a missing directory.
std::string ParentOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

int WindowsErrorNumber(int posixError, const std::string& path) {
    switch (posixError) {
        case ENOENT: return IsDirectory(ParentOf(path)) ? kErrorFileNotFound : kErrorPathNotFound;
        case ENOTDIR:
        case ENAMETOOLONG: return kErrorPathNotFound;
        case EMFILE:
        case ENFILE: return kErrorTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR: return kErrorAccessDenied;
        case EWOULDBLOCK:
        case ETXTBSY: return kErrorSharingViolation;
        case ENOSPC:
        case EDQUOT: return kErrorDiskFull;
        case EEXIST: return kErrorAlreadyExists;
        case EBADF: return 6;      // ERROR_INVALID_HANDLE
        case EROFS: return 19;     // ERROR_WRITE_PROTECT
        case EINVAL: return 87;    // ERROR_INVALID_PARAMETER
        case EFBIG: return 223;    // ERROR_FILE_TOO_LARGE
        case EIO: return 1117;     // ERROR_IO_DEVICE
        case ELOOP: return 1921;   // ERROR_CANT_RESOLVE_FILENAME
        default: return posixError;
    }
}

[[noreturn]] void ThrowLastError(const std::string& path) {
    throw EInOutError(WindowsErrorNumber(errno, path));
}

int OpenDescriptor(const std::string& path, int flags) {
    for (;;) {
        const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EINTR) ThrowLastError(path);
    }
}

// Only one writer may hold a text file, as the Windows sharing mode demands.
// Readers take no lock, so they never stand in the way.
void LockForWriting(int fd, const std::string& path) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) ThrowLastError(path);
    }
}

int SystemSize(std::intptr_t handle, std::uint64_t& size) {
    struct stat status {};
    if (::fstat(static_cast<int>(handle), &status) != 0) return WindowsErrorNumber(errno, {});
    size = static_cast<std::uint64_t>(status.st_size);
    return 0;
}

int SystemWrite(std::intptr_t handle, std::string_view bytes, std::size_t& written) {
    for (;;) {
        const ssize_t done = ::write(static_cast<int>(handle), bytes.data(), bytes.size());
        if (done >= 0) {
            written = static_cast<std::size_t>(done);
            return 0;
        }
        if (errno != EINTR) return WindowsErrorNumber(errno, {});
    }
}

int SystemCut(std::intptr_t handle, std::uint64_t size) {
    while (::ftruncate(static_cast<int>(handle), static_cast<off_t>(size)) != 0) {
        if (errno != EINTR) return WindowsErrorNumber(errno, {});
    }
    return 0;
}

}  // namespace

WriteSteps& TextFileWriteSteps() {
    static WriteSteps steps{SystemSize, SystemWrite, SystemCut};
    return steps;
}

bool FileExists(const std::u16string& path) {
    struct stat status {};
    return ::stat(base::Utf16ToUtf8(path).c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

bool DirectoryExists(const std::u16string& path) {
    return IsDirectory(base::Utf16ToUtf8(path));
}

void MakeDirectory(const std::u16string& path) {
    const std::string name = base::Utf16ToUtf8(path);
    if (::mkdir(name.c_str(), 0777) != 0) ThrowLastError(name);
}

// Read access and O_APPEND as for an existing file: an append reads the last
// bytes of what it appends to, and writes after a cut go to the new end.
TextFile TextFile::Create(const std::u16string& path) {
    const std::string name = base::Utf16ToUtf8(path);
    TextFile file(OpenDescriptor(name, O_RDWR | O_APPEND | O_CREAT));
    LockForWriting(static_cast<int>(file.handle_.Get()), name);
    // Emptied only once the lock is held, so a file in another writer's hands stays whole.
    if (::ftruncate(static_cast<int>(file.handle_.Get()), 0) != 0) ThrowLastError(name);
    return file;
}

// O_APPEND puts every write at the end of the file.
TextFile TextFile::OpenForAppend(const std::u16string& path) {
    const std::string name = base::Utf16ToUtf8(path);
    TextFile file(OpenDescriptor(name, O_RDWR | O_APPEND));
    LockForWriting(static_cast<int>(file.handle_.Get()), name);
    return file;
}

// One open serves both cases: a missing file is created empty, as an
// existence test followed by Create would leave it, and the append is spared
// a system call.
TextFile TextFile::OpenOrCreate(const std::u16string& path) {
    const std::string name = base::Utf16ToUtf8(path);
    TextFile file(OpenDescriptor(name, O_RDWR | O_APPEND | O_CREAT));
    LockForWriting(static_cast<int>(file.handle_.Get()), name);
    return file;
}

std::size_t TextFile::ReadAt(std::uint64_t offset, char* into, std::size_t count) const {
    for (;;) {
        const ssize_t read = ::pread(static_cast<int>(handle_.Get()), into, count, static_cast<off_t>(offset));
        if (read >= 0) return static_cast<std::size_t>(read);
        if (errno != EINTR) throw EInOutError(WindowsErrorNumber(errno, {}));
    }
}

int TextFile::CloseNative(NativeHandle handle) noexcept {
    // On Linux the descriptor is gone even when close reports EINTR, so no retry.
    if (::close(static_cast<int>(handle)) == 0) return 0;
    return WindowsErrorNumber(errno, {});
}

}  // namespace kestrin::files
