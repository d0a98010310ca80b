#include "platform/win32/paths.h"

#include <windows.h>

#include <charconv>

#include "platform/platform.h"
#include "platform/win32/utf16.h"

namespace ombrelo::win32 {

namespace {
constexpr std::wstring_view kLong = L"\\\\?\\", kLongUnc = L"\\\\?\\UNC\\";
}

std::wstring long_path(const std::wstring& path) {
  if (path.starts_with(kLong) || path.starts_with(L"\\\\.\\")) return path;
  std::wstring full(32768, L'\0');
  const DWORD n =
      GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n == 0 || n >= full.size()) return path;
  full.resize(n);
  if (full.starts_with(L"\\\\")) return std::wstring(kLongUnc) + full.substr(2);
  return std::wstring(kLong) + full;
}

std::wstring plain_path(const std::wstring& path) {
  if (path.starts_with(kLongUnc)) return L"\\\\" + path.substr(kLongUnc.size());
  if (path.starts_with(kLong)) return path.substr(kLong.size());
  return path;
}

std::wstring without_short_names(const std::wstring& path) {
  // Every short name Windows makes holds a tilde; a path without one needs
  // no look at the disk, which start-up would pay for.
  if (path.find(L'~') == std::wstring::npos) return path;
  std::wstring full(GetLongPathNameW(path.c_str(), nullptr, 0), L'\0');
  const DWORD n =
      full.empty() ? 0
                   : GetLongPathNameW(path.c_str(), full.data(), static_cast<DWORD>(full.size()));
  if (n == 0 || n >= full.size()) return path;
  full.resize(n);
  return full;
}

std::wstring temporary_name(const std::wstring& file, unsigned long process, unsigned long count) {
  // Hexadecimal digits, ASCII, so each char widens as it is.
  char digits[2 * sizeof(unsigned long) * 2];
  char* end = std::to_chars(digits, digits + sizeof digits, process, 16).ptr;
  end = std::to_chars(end, digits + sizeof digits, count, 16).ptr;
  return file + L'.' + std::wstring(digits, end) + L".tmp";
}

std::wstring executable_folder() {
  const std::wstring path = widen(platform::executable_path());
  return path.substr(0, path.find_last_of(L'\\'));
}

}  // namespace ombrelo::win32
