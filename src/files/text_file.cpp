#include "files/text_file.h"

#include "files/ansi_text.h"
#include "files/write_steps.h"

namespace kestrin::files {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

}  // namespace

void CheckPathLength(const std::u16string& path) {
    if (path.size() > kMaxPathLength) throw EInOutError(kErrorPathNotFound);
}

void TextFile::Write(std::string_view bytes) {
    if (!IsOpen()) throw EInOutError(kErrorFileNotOpen);
    const WriteSteps& steps = TextFileWriteSteps();
    while (!bytes.empty()) {
        std::size_t written = 0;
        if (const int error = steps.write(handle_.Get(), bytes, written); error != 0) throw EInOutError(error);
        // A file that takes nothing more is full.
        if (written == 0) throw EInOutError(kErrorDiskFull);
        bytes.remove_prefix(written);
    }
}

void TextFile::AppendLines(std::string_view lines) {
    if (!IsOpen()) throw EInOutError(kErrorFileNotOpen);
    // The size before anything is written: where a failed write is cut back
    // to, so without it nothing may be written.
    std::uint64_t size = 0;
    if (const int error = TextFileWriteSteps().size(handle_.Get(), size); error != 0) throw EInOutError(error);
    std::string afterBreak;
    if (size > 0 && !EndsInLineBreak(size)) {
        afterBreak.reserve(kLineBreak.size() + lines.size());
        afterBreak.append(kLineBreak).append(lines);
        lines = afterBreak;
    }
    try {
        Write(lines);
    } catch (const EInOutError&) {
        // The part written is taken off again, a line break put first
        // included, so that no fragment of a line stays for the next append
        // to run on from. Should the cut fail as well, that next append finds
        // no line break at the end and adds one.
        static_cast<void>(TextFileWriteSteps().cut(handle_.Get(), size));
        throw;
    }
}

bool TextFile::EndsInLineBreak(std::uint64_t size) const {
    if (size < kLineBreak.size()) return false;
    char tail[kLineBreak.size()];
    const std::size_t read = ReadAt(size - kLineBreak.size(), tail, kLineBreak.size());
    return std::string_view(tail, read) == kLineBreak;
}

void TextFile::Close() {
    if (!IsOpen()) throw EInOutError(kErrorFileNotOpen);
    const int error = CloseNative(handle_.Release());
    if (error != 0) throw EInOutError(error);
}

void AppendTextLine(const std::u16string& path, std::u16string_view line, CloseAfterFailure afterFailure) {
    CheckPathLength(path);

    // The whole line in one append, converted before the file is touched.
    std::string bytes = ToAnsi(line);
    bytes += kLineBreak;

    TextFile file;
    try {
        file = TextFile::OpenOrCreate(path);
        file.AppendLines(bytes);
    } catch (const EInOutError&) {
        // A file that never opened finds nothing to close here: error 103.
        try {
            file.Close();
        } catch (const EInOutError&) {
            if (afterFailure == CloseAfterFailure::kReportsItsError) throw;
        }
        throw;
    }
    file.Close();
}

}  // namespace kestrin::files
