// Measures ombrelo.exe from outside: start-up time until its settings window
// is visible, against a minimal one-window program; and it starts the count
// and keeps it going for a while, for the caller to measure CPU time and
// memory.
//
//   probe startup RUNS
//   probe counting SECONDS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "win32/names.h"
#include "win32/wide.h"

using ombrelo::win32::kSettingsClass;
using ombrelo::win32::kTimerClass;

namespace {

double now_ms() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

struct Find {
  DWORD pid;
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK find_proc(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[128] = {};
  GetClassNameW(h, cls, 128);
  if (pid == f->pid && IsWindowVisible(h) && std::wcscmp(cls, f->cls) == 0) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND wait_visible(DWORD pid, const wchar_t* cls, double timeout_ms) {
  const double end = now_ms() + timeout_ms;
  while (now_ms() < end) {
    Find f{pid, cls, nullptr};
    EnumWindows(find_proc, reinterpret_cast<LPARAM>(&f));
    if (f.found) return f.found;
    Sleep(1);
  }
  return nullptr;
}

bool launch(const std::wstring& exe, const std::wstring& dir, PROCESS_INFORMATION& pi) {
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  return CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                        &pi) != 0;
}

void finish(PROCESS_INFORMATION& pi, HWND main) {
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

// Milliseconds from process start until a visible window of that class.
double time_to_window(const std::wstring& exe, const std::wstring& dir, const wchar_t* cls) {
  PROCESS_INFORMATION pi{};
  const double t0 = now_ms();
  if (!launch(exe, dir, pi)) return -1;
  HWND h = wait_visible(pi.dwProcessId, cls, 20000);
  const double t = now_ms() - t0;
  finish(pi, h);
  return h ? t : -1;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  const int count = argc > 2 ? _wtoi(argv[2]) : 0;
  const std::wstring dir = ombrelo::win32::executable_folder();
  const std::wstring ombrelo = dir + L"\\ombrelo.exe";

  if (mode == L"startup" && count > 0) {
    std::vector<double> app, minimal;
    for (int i = 0; i < count; ++i) {
      // Interleaved, so that both see the same machine load.
      minimal.push_back(time_to_window(dir + L"\\minimal_window.exe", dir, L"MinimalWindow"));
      app.push_back(time_to_window(ombrelo, dir, kSettingsClass));
    }
    if (std::count(app.begin(), app.end(), -1.0) ||
        std::count(minimal.begin(), minimal.end(), -1.0)) {
      std::printf("startup: a window did not show\n");
      return 1;
    }
    const double a = median(app), m = median(minimal);
    std::printf("startup_ms %.1f\nminimal_ms %.1f\nratio %.2f\n", a, m, a / m);
    return 0;
  }

  if (mode == L"counting" && count > 0) {
    PROCESS_INFORMATION pi{};
    if (!launch(ombrelo, dir, pi)) return 1;
    HWND settings = wait_visible(pi.dwProcessId, kSettingsClass, 20000);
    if (!settings) return 1;
    PostMessageW(settings, WM_COMMAND, MAKEWPARAM(104, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(settings, 104)));
    // The pointer away from every window: Wine polls the pointer while it
    // rests on a themed button, which would be measured as the program's.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, 0);
    Sleep(2000);  // past start-up and the viewer's launch
    // The caller measures the process from outside while it counts.
    std::printf("counting\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(count) * 1000);
    wchar_t title[32] = {};
    HWND timer = FindWindowW(kTimerClass, nullptr);
    if (timer) GetWindowTextW(timer, title, 32);
    std::printf("display %ls\n", title);
    finish(pi, settings);
    return 0;
  }

  std::printf("usage: probe startup RUNS | probe counting SECONDS\n");
  return 2;
}
