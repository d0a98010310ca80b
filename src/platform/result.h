#pragma once

#include <concepts>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace ombrelo {

// What a file or process operation gave: its value, or the reason it failed
// in the system's words (naming the file that failed when it is not the one
// asked for). Result<> is an operation with nothing to give but success.
template <typename T = std::monostate>
class [[nodiscard]] Result {
 public:
  template <std::same_as<std::monostate> U = T>
  Result() : value_(U{}) {}
  Result(T value) : value_(std::move(value)) {}  // NOLINT: success reads as the value

  static Result failure(std::string reason) {
    Result r{std::in_place, std::move(reason)};
    return r;
  }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const T& value() const { return *value_; }
  T& value() { return *value_; }
  // Empty on success.
  const std::string& reason() const { return reason_; }

 private:
  Result(std::in_place_t, std::string reason) : reason_(std::move(reason)) {}
  std::optional<T> value_;
  std::string reason_;
};

using Status = Result<>;

}  // namespace ombrelo
