#include "win32/wide.h"

#include <windows.h>

#include <cstdio>

#include "platform/platform.h"
#include "win32/handles.h"

namespace ombrelo::win32 {

std::wstring widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string narrow(std::wstring_view utf16) {
  if (utf16.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring executable_folder() {
  const std::wstring path = widen(platform::executable_path());
  return path.substr(0, path.find_last_of(L'\\'));
}

std::string system_message(unsigned long code, std::string_view insert) {
  wchar_t* buf = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  const UniqueLocal owned(buf);
  std::wstring text = n && buf ? std::wstring(buf, n) : std::wstring();
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                           text.back() == L'.' || text.back() == L'。')) {
    text.pop_back();
  }
  const std::wstring with = widen(insert);
  for (std::size_t at = 0; (at = text.find(L'%', at)) != std::wstring::npos;) {
    if (at + 1 < text.size() && text[at + 1] >= L'1' && text[at + 1] <= L'9') {
      text.replace(at, 2, with);
      at += with.size();
    } else {
      ++at;
    }
  }
  char code_text[32];
  std::snprintf(code_text, sizeof code_text, "エラー %lu", code);
  if (text.empty()) return code_text;
  return narrow(text) + " (" + code_text + ")";
}

}  // namespace ombrelo::win32
