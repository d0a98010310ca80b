#pragma once

#include <windows.h>

namespace ombrelo::win32 {

// A function looked up at run time, as its own type: one that the oldest
// Windows the program supports lacks, or one in a DLL loaded only when it is
// first needed. nullptr where the module or the function is not there.
template <typename Fn>
Fn* find_function(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn*>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}

}  // namespace ombrelo::win32
