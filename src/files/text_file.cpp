#include "files/text_file.h"

#include <utility>

namespace kestrin::files {

void CheckPathLength(const std::u16string& path) {
    if (path.size() > kMaxPathLength) throw EInOutError(kErrorPathNotFound);
}

TextFile::TextFile(TextFile&& other) noexcept : handle_(std::exchange(other.handle_, kNoHandle)) {}

TextFile& TextFile::operator=(TextFile&& other) noexcept {
    if (this != &other) {
        if (IsOpen()) CloseNative(handle_);
        handle_ = std::exchange(other.handle_, kNoHandle);
    }
    return *this;
}

TextFile::~TextFile() {
    if (IsOpen()) CloseNative(handle_);
}

void TextFile::Close() {
    if (!IsOpen()) throw EInOutError(kErrorFileNotOpen);
    const int error = CloseNative(std::exchange(handle_, kNoHandle));
    if (error != 0) throw EInOutError(error);
}

}  // namespace kestrin::files
