#pragma once
// The body of one service's response, gathered piece by piece as it is read.
// An address is a few dozen characters; a service that sends more than
// kMaxAnswerBytes is sending something else, so reading stops there and the
// answer counts as no address, instead of growing without end.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrin::publicaddr {

// The most bytes one read of the body asks for.
inline constexpr std::size_t kAnswerPieceSize = 1024;
inline constexpr std::size_t kMaxAnswerBytes = 64 * kAnswerPieceSize;

class AnswerBody {
public:
    // Adds the next bytes of the body. False once the body has grown past
    // kMaxAnswerBytes: the reader stops, and the bytes are dropped.
    bool Append(std::string_view piece);

    bool TooLong() const noexcept { return tooLong_; }
    // Everything read so far; empty when TooLong().
    const std::string& Bytes() const noexcept { return bytes_; }

private:
    std::string bytes_;
    bool tooLong_ = false;
};

}  // namespace kestrin::publicaddr
