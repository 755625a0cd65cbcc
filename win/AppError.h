// An error that ends the operation in progress and reaches the application's
// error report, which shows its message; and what keeps errors from crossing
// the system's own code, which cannot pass C++ exceptions on.
#pragma once

#include <exception>
#include <string>
#include <utility>

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

// For a callback that the system calls in the middle of one of its own
// functions (a dialog procedure, an enumeration): an error is held while the
// system's code finishes and is thrown again once it has returned.
class TCallbackError {
public:
    template <typename Result, typename Body> Result Run(Result onError, Body&& body) noexcept {
        try {
            return body();
        } catch (...) {
            if (!error_)
                error_ = std::current_exception();
            return onError;
        }
    }
    bool Failed() const { return error_ != nullptr; }
    void Rethrow() {
        if (error_)
            std::rethrow_exception(std::exchange(error_, nullptr));
    }

private:
    std::exception_ptr error_;
};

// The last word of a program that must end on an error no window can show:
// the reason goes to the debugger's output and to standard error.
void LogFatalError(const std::wstring& reason) noexcept;

} // namespace pelmira
