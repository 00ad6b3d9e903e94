#include "base/exception.h"

#include "base/text.h"

namespace kestrin::base {

Exception::Exception(std::u16string message, std::exception_ptr innerCause)
    : message_(std::move(message)), innerCause_(std::move(innerCause)), what_(Utf16ToUtf8(message_)) {}

namespace {

struct Link {
    std::u16string message;
    std::exception_ptr inner;
};

Link Inspect(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        return {e.Message(), e.InnerCause()};
    } catch (const std::exception& e) {
        return {Utf8ToUtf16(e.what()), nullptr};
    } catch (...) {
        return {};
    }
}

}  // namespace

std::u16string ErrorBoxText(const std::exception_ptr& error) {
    std::u16string text;
    bool outermost = true;
    // A cause chain is short, but a cycle must not hang the error box.
    constexpr int kMaxDepth = 64;
    std::exception_ptr current = error;
    for (int depth = 0; current && depth < kMaxDepth; ++depth) {
        Link link = Inspect(current);
        if (outermost || !link.message.empty()) text = std::move(link.message);
        outermost = false;
        current = link.inner;
    }
    if (!text.empty() && text.back() > u'.') text += u'.';
    return text;
}

}  // namespace kestrin::base
