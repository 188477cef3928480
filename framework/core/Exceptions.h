#pragma once
// The framework's exception classes. Program code catches none of them: whatever escapes a handler reaches
// the dispatch boundary, which hands it to the unhandled-exception report.

#include "framework/core/String.h"

#include <exception>
#include <memory>

namespace Ovelund {

class RuntimeException : public std::exception {
public:
    RuntimeException() = default;
    explicit RuntimeException(String message) : message_(std::move(message)) {}

    // The full class name the report shows.
    virtual const char* ClassName() const noexcept { return "RuntimeException"; }
    const String& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.empty() ? ClassName() : message_.c_str(); }

    virtual std::shared_ptr<RuntimeException> Clone() const {
        return std::make_shared<RuntimeException>(*this);
    }

private:
    String message_;
};

// The arguments are a class's name and its base, which no declaration may hold in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define OVELUND_EXCEPTION(Name, Base)                                                                        \
    class Name : public Base {                                                                               \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
        const char* ClassName() const noexcept override { return #Name; }                                    \
        std::shared_ptr<RuntimeException> Clone() const override { return std::make_shared<Name>(*this); }   \
    };
// NOLINTEND(bugprone-macro-parentheses)

// A missing object was used.
OVELUND_EXCEPTION(NilObjectException, RuntimeException)
// A window, control or menu was touched from a thread other than the user-interface thread.
OVELUND_EXCEPTION(ThreadAccessingUIException, RuntimeException)
// An object was cast to a class it is not an instance of.
OVELUND_EXCEPTION(IllegalCastException, RuntimeException)

#undef OVELUND_EXCEPTION

} // namespace Ovelund
