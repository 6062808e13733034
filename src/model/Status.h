#pragma once
// Errors travel as values: a Status says ok or carries a one-line message.
#include <optional>
#include <string>
#include <utility>

namespace corvane {

class [[nodiscard]] Status {
public:
    Status() = default;
    static Status Ok() { return {}; }
    static Status Error(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !message_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { static const std::string none; return message_ ? *message_ : none; }

private:
    explicit Status(std::string message) : message_(std::move(message)) {}
    std::optional<std::string> message_;
};

// A value or the message saying why there is none.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Status error) : error_(std::move(error)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return *value_; }
    T& value() { return *value_; }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    const Status& status() const { return error_; }
    const std::string& message() const { return error_.message(); }

private:
    std::optional<T> value_;
    Status error_;
};

// The first of two steps' statuses that failed, else the second.
inline Status FirstFailure(const Status& first, const Status& next) { return first.ok() ? next : first; }

}  // namespace corvane
