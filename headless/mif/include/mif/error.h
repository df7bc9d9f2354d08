// Errors of the MIF file layer: where in which file, and what was expected.
#ifndef VELTRANO_MIF_ERROR_H
#define VELTRANO_MIF_ERROR_H

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace mif {

// A failure to read, check or write a MIF file. `line` and `column` are
// 1-based (the column counts characters, not bytes); both are 0 when the
// failure has no place in the text (a file that cannot be opened, say).
struct Error {
  std::string file;
  std::uint32_t line = 0;
  std::uint32_t column = 0;
  std::string message;

  // "file:line:column: message", or "file: message" without a place, safe
  // to print (headless::PrintableText).
  std::string describe() const;
};

// Either a value or the error that prevented it.
template <typename T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}      // NOLINT: implicit on purpose
  Result(Error error) : state_(std::move(error)) {}  // NOLINT

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  const Error& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, Error> state_;
};

// A result without a value.
struct Done {};
using Status = Result<Done>;
inline Status Ok() {
  return Done{};
}

}  // namespace mif

#endif
