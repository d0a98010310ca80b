#pragma once

#include <concepts>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace ombrelo {

// What a common dialog's own error number (CommDlgExtendedError) means; the
// system has no words for these. The numbers are <cderr.h>'s, which the
// Windows build checks.
enum class DialogFault { out_of_memory, invalid_file_name, file_name_too_long, no_fonts, other };
constexpr DialogFault dialog_fault(unsigned long error) {
  switch (error) {
    case 0x0009:                                          // CDERR_MEMALLOCFAILURE
    case 0x000A: return DialogFault::out_of_memory;       // CDERR_MEMLOCKFAILURE
    case 0x3002: return DialogFault::invalid_file_name;   // FNERR_INVALIDFILENAME
    case 0x3003: return DialogFault::file_name_too_long;  // FNERR_BUFFERTOOSMALL
    case 0x2001: return DialogFault::no_fonts;            // CFERR_NOFONTS
  }
  return DialogFault::other;
}

// What the release exe's standard library throws when one of its own
// checks fails (a length beyond the largest, an index out of range): see
// app/runtime.cpp. Elsewhere the library throws std::logic_error's kinds.
struct LibraryCheckFailed : std::exception {
  explicit LibraryCheckFailed(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }
  const char* what_;
};

// Why an operation failed, as values; ui::reason_text puts it into words
// for the user.
struct Reason {
  enum class Kind {
    system,             // the system's error: its words and number
    folder_in_the_way,  // a folder where the file should be
    out_of_memory,
    dialog,         // a common dialog's fault, its number as the code
    library_check,  // a check of the standard library's failed
    unexpected,     // anything else that was thrown
  };
  Kind kind = Kind::system;
  std::string words = {};  // the system's own words for it, where it has some
  unsigned long code = 0;  // the system's (or the dialog's) number; 0 where it gives none
  std::string file = {};   // the file that failed, when it is not the one asked for
  DialogFault dialog = DialogFault::other;
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
