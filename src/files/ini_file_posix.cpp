#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <utility>

#include "base/text.h"
#include "base/unique_handle.h"
#include "files/ini_file.h"
#include "files/ini_text_posix.h"

// Without profile functions the file is read whole and written whole: a write
// goes to a new file beside it, which then replaces the old one in one step,
// so a failure at any point leaves the old file as it was.

namespace kestrin::files {

namespace {

// Settings files are a few lines long; a file beyond this is treated as
// unreadable rather than held in memory.
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;
constexpr std::size_t kReadChunkSize = 64 * 1024;
// Less the umask, as for any new file.
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kPermissionBits = 07777;
// Tries at a name for the new file before giving up on a directory full of
// stale ones.
constexpr int kTemporaryNameAttempts = 100;

using UniqueFd = base::UniqueHandle<int, ::close>;

struct FileContents {
    std::string bytes;
    mode_t mode;
};

// The whole of a regular file; nothing when it cannot be read or is too large.
std::optional<FileContents> ReadAll(const UniqueFd& file) {
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > kMaxFileSize) {
        return std::nullopt;
    }
    std::string bytes;
    std::string chunk(kReadChunkSize, '\0');
    for (;;) {
        const ssize_t count = ::read(file.Get(), chunk.data(), chunk.size());
        if (count == 0) break;
        if (count < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        // The file may have grown since fstat.
        if (bytes.size() + static_cast<std::size_t>(count) > static_cast<std::size_t>(kMaxFileSize)) {
            return std::nullopt;
        }
        bytes.append(chunk, 0, static_cast<std::size_t>(count));
    }
    return FileContents{std::move(bytes), status.st_mode & kPermissionBits};
}

// O_NONBLOCK keeps a FIFO in the file's place from blocking the open.
UniqueFd OpenExisting(const std::string& path, int access) {
    return UniqueFd(::open(path.c_str(), access | O_CLOEXEC | O_NONBLOCK));
}

bool WriteAll(const UniqueFd& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(file.Get(), bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        // Nothing written of a buffer that is not empty is no progress: as a failure.
        if (count == 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// Puts `bytes` in place of the file at `path` (or creates it), with `mode`
// when the file existed.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::optional<mode_t> mode) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string temporary =
            path + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        UniqueFd file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
        if (!file) {
            if (errno == EEXIST) continue;
            return false;
        }
        const bool written = (!mode || ::fchmod(file.Get(), *mode) == 0) && WriteAll(file, bytes) &&
                             ::fsync(file.Get()) == 0;
        // Closed here, as a failed close can mean lost data.
        const bool closed = ::close(file.Release()) == 0;
        if (written && closed && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
        ::unlink(temporary.c_str());
        return false;
    }
    return false;
}

// The platform's read cuts trailing blanks off the default, so this one does too.
std::u16string_view WithoutTrailingSpaces(std::u16string_view text) {
    return text.substr(0, text.find_last_not_of(u' ') + 1);
}

}  // namespace

TIniFile::~TIniFile() = default;  // every write has reached the file already

std::u16string TIniFile::ReadString(std::u16string_view section, std::u16string_view ident,
                                    std::u16string_view defaultValue) const {
    if (const UniqueFd file = OpenExisting(base::Utf16ToUtf8(fileName_), O_RDONLY); file) {
        if (const std::optional<FileContents> contents = ReadAll(file)) {
            const std::optional<std::string_view> value =
                FindIniValue(contents->bytes, IniBytesFromText(section), IniBytesFromText(ident));
            if (value) return IniTextFromBytes(value->substr(0, kMaxIniValueLength));
        }
    }
    return std::u16string(WithoutTrailingSpaces(defaultValue).substr(0, kMaxIniValueLength));
}

void TIniFile::WriteString(std::u16string_view section, std::u16string_view ident, std::u16string_view value) {
    const std::string path = base::Utf16ToUtf8(fileName_);
    std::optional<FileContents> before;
    // Opened for writing as well, so a file we may not change fails here.
    if (const UniqueFd file = OpenExisting(path, O_RDWR); file) {
        before = ReadAll(file);
        if (!before) ThrowCannotWrite();
    } else if (errno != ENOENT) {
        ThrowCannotWrite();
    }

    const std::string oldBytes = before ? std::move(before->bytes) : std::string();
    const std::string newBytes =
        SetIniValue(oldBytes, IniBytesFromText(section), IniBytesFromText(ident), IniBytesFromText(value));
    if (before && newBytes == oldBytes) return;
    if (!ReplaceFile(path, newBytes, before ? std::optional<mode_t>(before->mode) : std::nullopt)) {
        ThrowCannotWrite();
    }
}

}  // namespace kestrin::files
