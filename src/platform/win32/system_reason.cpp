#include "platform/win32/system_reason.h"

#include <windows.h>

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/utf16.h"

namespace ombrelo::win32 {

Reason system_reason(unsigned long code, std::string_view insert) {
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
  return {.words = narrow(text), .code = code};
}

}  // namespace ombrelo::win32
