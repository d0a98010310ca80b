#pragma once

#include <concepts>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace ombrelo {

// Why an operation failed, as values; the messages put it into words for
// the user. Empty on success.
struct Reason {
  enum class Kind { system, folder_in_the_way };
  Kind kind = Kind::system;
  std::string words = {};  // the system's own words for it, where it has some
  unsigned long code = 0;  // the system's number for it; 0 where it gives none
  std::string file = {};   // the file that failed, when it is not the one asked for
};

// What a file or process operation gave: its value, or the reason it
// failed. Result<> is an operation with nothing to give but success.
template <typename T = std::monostate>
class [[nodiscard]] Result {
 public:
  template <std::same_as<std::monostate> U = T>
  Result() : value_(U{}) {}
  Result(T value) : value_(std::move(value)) {}  // NOLINT: success reads as the value

  static Result failure(Reason reason) {
    Result r{std::in_place, std::move(reason)};
    return r;
  }
  // A reason that is only the system's words.
  static Result failure(std::string words) { return failure(Reason{.words = std::move(words)}); }

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  const T& value() const { return *value_; }
  T& value() { return *value_; }
  const Reason& reason() const { return reason_; }

 private:
  Result(std::in_place_t, Reason reason) : reason_(std::move(reason)) {}
  std::optional<T> value_;
  Reason reason_;
};

using Status = Result<>;

}  // namespace ombrelo
