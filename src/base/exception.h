#pragma once
// The program's error kinds: every error carries a message text and may carry
// the error that caused it (a binding failure carries its socket error, say).

#include <exception>
#include <string>
#include <string_view>

namespace kestrin::base {

class Exception : public std::exception {
public:
    explicit Exception(std::u16string message, std::exception_ptr innerCause = nullptr);

    const std::u16string& Message() const noexcept { return message_; }
    // The error that caused this one, or null.
    const std::exception_ptr& InnerCause() const noexcept { return innerCause_; }
    // The message as UTF-8, for std::exception users such as test output.
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::u16string message_;
    std::exception_ptr innerCause_;
    std::string what_;
};

// A text that is not a number in the integer text syntax.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// Runs `step` where no exception may pass, as in a window procedure's error
// report or a destructor: whatever it throws ends there.
template <typename Step>
void Quietly(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

// The text of the error box for an error that reached the event loop: the
// message of the innermost cause that has a non-empty one, with a full stop
// appended when its last character sorts above ".".
std::u16string ErrorBoxText(const std::exception_ptr& error);

}  // namespace kestrin::base
