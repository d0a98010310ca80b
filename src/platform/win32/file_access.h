#pragma once

// What the Windows file operations share: files opened for reading while
// others have them open, and brief locks waited out.

#include <windows.h>

namespace ombrelo::win32 {

inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Antivirus scanners, indexers and sync tools open a file for a moment right
// after it changes; about a second of retries waits them out. `attempt`
// returns 0 on success, else the error code.
inline constexpr int kTries = 20;
inline constexpr DWORD kPauseMilliseconds = 50;
template <typename Attempt, typename Transient>
DWORD retrying(Attempt attempt, Transient transient) {
  for (int tries = 1;; ++tries) {
    const DWORD error = attempt();
    if (error == 0 || !transient(error) || tries == kTries) return error;
    Sleep(kPauseMilliseconds);
  }
}

inline bool locked(DWORD e) { return e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION; }

}  // namespace ombrelo::win32
