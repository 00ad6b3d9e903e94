#pragma once
// The text files the program writes (daily logs, address history): each line
// is written by opening the file, writing and closing it again. While a file
// is open here, other programs may read it but not write to it. Every step
// that fails raises EInOutError with the system's error number.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/unique_handle.h"
#include "files/in_out_error.h"

namespace kestrin::files {

// The longest path a text file may have; a longer one is error 3.
inline constexpr std::size_t kMaxPathLength = 259;

// Raises EInOutError 3 when `path` is longer than kMaxPathLength.
void CheckPathLength(const std::u16string& path);

// Whether `path` names an existing file that is not a directory.
bool FileExists(const std::u16string& path);

// Whether `path` names an existing directory.
bool DirectoryExists(const std::u16string& path);

// Creates one directory; its parent must exist.
void MakeDirectory(const std::u16string& path);

// A file open for writing. Move-only; the destructor closes it quietly, so
// call Close() wherever the result of closing matters.
class TextFile {
public:
    // A closed file.
    TextFile() = default;

    // Creates the file, or empties an existing one, for reading and writing;
    // writes go to its end.
    static TextFile Create(const std::u16string& path);
    // Opens an existing file for reading and writing; writes go to its end.
    static TextFile OpenForAppend(const std::u16string& path);
    // OpenForAppend when a file of that name exists, else Create.
    static TextFile OpenOrCreate(const std::u16string& path);

    bool IsOpen() const noexcept { return static_cast<bool>(handle_); }

    // Writes all bytes at the current position.
    void Write(std::string_view bytes);

    // Appends whole lines, each ending in CR LF, so that the file gains all of
    // them or nothing: a write that fails is cut back off before its error
    // leaves. A file that does not end in CR LF (a cut that failed too, a
    // closing 0x1A) gets one first, so the lines start on a line of their own.
    // Bytes already in the file are never changed.
    void AppendLines(std::string_view lines);

    // Closes the file; closing a file that is not open is error 103.
    void Close();

private:
    // A Windows HANDLE or a POSIX descriptor; both use -1 for "none".
    using NativeHandle = std::intptr_t;

    explicit TextFile(NativeHandle handle) noexcept : handle_(handle) {}

    // Reads up to `count` bytes from `offset` into `into`; the number read.
    std::size_t ReadAt(std::uint64_t offset, char* into, std::size_t count) const;
    // Whether the file, `size` bytes long, ends in CR LF.
    bool EndsInLineBreak(std::uint64_t size) const;

    // Closes the handle; the system's error number, or 0.
    static int CloseNative(NativeHandle handle) noexcept;

    // Closed quietly on the roads that fail; Close() reports its result.
    base::UniqueHandle<NativeHandle, CloseNative> handle_;
};

// Whether the close after a failed open or append reports its own error. The
// file is closed after every failure; only which error leaves differs. The
// daily log's close of a file that never opened is itself an error (103),
// and that error, like that of a close failing after a write, is the one its
// callers see. The address history raises each step's error at once, so its
// close after a failure is quiet.
enum class CloseAfterFailure { kReportsItsError, kQuiet };

// Appends `line`, in the ANSI code page and ending in CR LF, to the file at
// `path`, creating it when missing, and closes the file again. Throws
// EInOutError: 3 for a path over kMaxPathLength (nothing touched), else the
// error of the failing open, append or close, as `afterFailure` says. The
// file gains the whole line or nothing (AppendLines).
void AppendTextLine(const std::u16string& path, std::u16string_view line, CloseAfterFailure afterFailure);

}  // namespace kestrin::files
