#include "publicaddr/service_request.h"

namespace kestrin::publicaddr {

bool AnswerBody::Append(std::string_view piece) {
    if (tooLong_) return false;
    if (piece.size() > kMaxAnswerBytes - bytes_.size()) {
        tooLong_ = true;
        bytes_.clear();
        bytes_.shrink_to_fit();
        return false;
    }
    bytes_ += piece;
    return true;
}

}  // namespace kestrin::publicaddr
