#pragma once
// Failures of the text files and the log directory. The number is the
// system's error code of the failing call (Windows numbering on every
// platform), or one of the run-time layer's own numbers such as 103.

#include <string>

#include "base/exception.h"

namespace kestrin::files {

inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorTooManyOpenFiles = 4;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorSharingViolation = 32;
// A close, write or other step on a file that is not open.
inline constexpr int kErrorFileNotOpen = 103;
inline constexpr int kErrorDiskFull = 112;
inline constexpr int kErrorAlreadyExists = 183;

// The message shown for an input/output error number: a fixed German text
// for a few numbers, "E/A-Fehler <number>" for all others.
std::u16string InOutErrorMessage(int errorCode);

class EInOutError : public base::Exception {
public:
    explicit EInOutError(int errorCode);

    int ErrorCode() const noexcept { return errorCode_; }

private:
    int errorCode_;
};

}  // namespace kestrin::files
