// An error that ends the operation in progress and reaches the application's
// error report, which shows its message.
#pragma once

#include <exception>
#include <string>

namespace pelmira {

class EAppError : public std::exception {
public:
    explicit EAppError(std::wstring message) : message_(std::move(message)) {}
    const std::wstring& Message() const { return message_; }
    const char* what() const noexcept override { return "EAppError"; }

private:
    std::wstring message_;
};

// The message of the exception being handled; call only inside a catch block.
std::wstring CurrentExceptionMessage();

} // namespace pelmira
