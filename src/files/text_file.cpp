#include "files/text_file.h"

namespace kestrin::files {

void CheckPathLength(const std::u16string& path) {
    if (path.size() > kMaxPathLength) throw EInOutError(kErrorPathNotFound);
}

void TextFile::Close() {
    if (!IsOpen()) throw EInOutError(kErrorFileNotOpen);
    const int error = CloseNative(handle_.Release());
    if (error != 0) throw EInOutError(error);
}

}  // namespace kestrin::files
