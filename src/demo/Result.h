// The small result type of the whole program: a value, or what failed with the system's text for it.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace vorelix {

// A failure as the user is told it: `systemText` is the operating system's own description
// (strerror on POSIX, FormatMessageW on Windows), in UTF-8; it may be empty when no system call
// failed (a demo that is merely too short, say).
struct Failure {
    std::string systemText;
    int code = 0;  // errno or GetLastError(); 0 when none applies
};

template <typename T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Failure failure) : state_(std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }

    const Failure& failure() const { return std::get<1>(state_); }

  private:
    std::variant<T, Failure> state_;
};

struct Done {};
// A result that carries nothing on success.
using Status = Result<Done>;
inline Status Ok() {
    return Done{};
}

}  // namespace vorelix
