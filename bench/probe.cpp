// Measures ombrelo.exe from outside: start-up time until its settings window
// is visible and answers, against the start-up floor (startup_floor.exe, the
// same window and display and nothing else); and it keeps a scene
// going for a while, for the caller to measure CPU time and memory:
//
//   probe settings FOLDER...      writes the settings every scene starts
//                                  with into each folder (beside the probe),
//                                  as the program saves them
//   probe startup RUNS [BASE]
//   probe counting SECONDS [BASE]  the program counting
//   probe floor SECONDS            the least a counting display does (floor.exe)
//   probe raising SECONDS [BASE]   counting above a show that raises itself
//                                  every 200 ms; prints the share of samples
//                                  on top
//   probe pair SECONDS [BASE]      two copies counting in the same corner;
//                                  prints how often and until when they
//                                  swapped places
//
// BASE names a folder beside the probe holding another ombrelo.exe (and
// pair\ombrelo.exe), an earlier build to compare with: the scenes run that
// one instead, and start-up times it too, interleaved with the others.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/names.h"
#include "platform/win32/paths.h"
#include "platform/win32/utf16.h"
#include "settings/settings.h"

using ombrelo::win32::kDisplayClass;
using ombrelo::win32::kPresentationBox;
using ombrelo::win32::kSettingsClass;
using ombrelo::win32::kStartButton;

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

// Polled every millisecond while the program starts: asks the Wine server
// only for the windows of that class, so that the polling itself does not
// slow the program it times.
HWND wait_visible(DWORD pid, const wchar_t* cls, double timeout_ms) {
  const double end = now_ms() + timeout_ms;
  while (now_ms() < end) {
    for (HWND h = FindWindowExW(nullptr, nullptr, cls, nullptr); h;
         h = FindWindowExW(nullptr, h, cls, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(h, &owner);
      if (owner == pid && IsWindowVisible(h)) return h;
    }
    Sleep(1);
  }
  return nullptr;
}

// A failure is said, so that the benchmark's message says which exe and why.
bool launch(const std::wstring& exe, const std::wstring& dir, PROCESS_INFORMATION& pi) {
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                     &pi))
    return true;
  std::printf("cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
  return false;
}

// The scene's main window, or nothing, said.
HWND shown(const PROCESS_INFORMATION& pi, const std::wstring& exe, const wchar_t* cls) {
  HWND h = wait_visible(pi.dwProcessId, cls, 20000);
  if (!h) std::printf("no %ls window of %ls within 20 s\n", cls, exe.c_str());
  return h;
}

void finish(PROCESS_INFORMATION& pi, HWND main) {
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

// Milliseconds from process start until a visible window of that class
// whose thread has gone back to its message loop (it answers a message).
double time_to_window(const std::wstring& exe, const std::wstring& dir, const wchar_t* cls) {
  PROCESS_INFORMATION pi{};
  const double t0 = now_ms();
  if (!launch(exe, dir, pi)) return -1;
  HWND h = wait_visible(pi.dwProcessId, cls, 20000);
  DWORD_PTR answer = 0;
  if (h && !SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer)) h = nullptr;
  const double t = now_ms() - t0;
  finish(pi, h);
  return h ? t : -1;
}

// Whether no visible window of another program lies over any of h.
bool uncovered(HWND h) {
  if (!h) return false;
  DWORD own = 0;
  GetWindowThreadProcessId(h, &own);
  RECT r, above_r, overlap;
  GetWindowRect(h, &r);
  for (HWND above = GetWindow(h, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(above, &pid);
    if (pid != own && IsWindowVisible(above) && GetWindowRect(above, &above_r) &&
        IntersectRect(&overlap, &r, &above_r)) {
      return false;
    }
  }
  return true;
}

bool is_above(HWND a, HWND b) {
  for (HWND h = GetWindow(b, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV)) {
    if (h == a) return true;
  }
  return false;
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
  const std::wstring base = argc > 3 ? dir + L"\\" + argv[3] : L"";
  const std::wstring folder = base.empty() ? dir : base;

  if (mode == L"settings" && argc > 2) {
    // The defaults (ＭＳ Ｐゴシック 9.75 pt, green on black, bottom right),
    // a talk, and the stand-in viewer beside the probe.
    ombrelo::SettingsRecord record;
    record.presentation_path = "C:\\talk.ppt";
    record.viewer_path = ombrelo::win32::narrow(dir + L"\\fake_viewer.exe");
    for (int i = 2; i < argc; ++i) {
      const std::wstring into = std::wstring(argv[i]) == L"." ? dir : dir + L"\\" + argv[i];
      const std::wstring file = into + L"\\ombrelo.ini";
      if (!ombrelo::write_settings_file(ombrelo::win32::narrow(file), record)) {
        std::printf("settings: cannot write %ls\n", file.c_str());
        return 1;
      }
    }
    return 0;
  }

  if (mode == L"startup" && count > 0) {
    std::vector<double> app, floor, earlier;
    for (int i = 0; i < count; ++i) {
      // Interleaved, so that all see the same machine load.
      floor.push_back(time_to_window(dir + L"\\startup_floor.exe", dir, L"StartupFloor"));
      app.push_back(time_to_window(dir + L"\\ombrelo.exe", dir, kSettingsClass));
      if (!base.empty())
        earlier.push_back(time_to_window(base + L"\\ombrelo.exe", base, kSettingsClass));
    }
    for (const auto* times : {&app, &floor, &earlier}) {
      if (std::count(times->begin(), times->end(), -1.0)) {
        std::printf("startup: a window did not show\n");
        return 1;
      }
    }
    auto line = [](const char* name, const std::vector<double>& v) {
      if (!v.empty())
        std::printf("%s %.1f %.1f %.1f\n", name, median(v), *std::min_element(v.begin(), v.end()),
                    *std::max_element(v.begin(), v.end()));
    };
    line("startup_ms", app);
    line("floor_ms", floor);
    line("base_ms", earlier);
    return 0;
  }

  if ((mode == L"counting" || mode == L"raising" || mode == L"pair") && count > 0) {
    // The second copy of a pair runs from a folder of its own, pair\.
    std::vector<PROCESS_INFORMATION> copies(mode == L"pair" ? 2 : 1);
    std::vector<HWND> settings;
    for (std::size_t i = 0; i < copies.size(); ++i) {
      const std::wstring copy = i == 0 ? folder : folder + L"\\pair";
      const std::wstring exe = copy + L"\\ombrelo.exe";
      if (!launch(exe, copy, copies[i])) return 1;
      HWND h = shown(copies[i], exe, kSettingsClass);
      if (!h) return 1;
      settings.push_back(h);
      // The stand-in viewer plays a self-raising show for a presentation
      // named raise<seconds>.
      const std::wstring talk = mode == L"raising"
                                    ? L"C:\\raise" + std::to_wstring(count + 5) + L".ppt"
                                    : L"C:\\talk.ppt";
      SendMessageW(GetDlgItem(h, kPresentationBox), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(talk.c_str()));
      PostMessageW(h, WM_COMMAND, MAKEWPARAM(kStartButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(h, kStartButton)));
    }
    // The pointer away from every window: Wine polls the pointer while it
    // rests on a themed button, which would be measured as the program's.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, 0);
    Sleep(2000);  // past start-up and the viewer's launch
    std::vector<HWND> displays;
    for (const auto& pi : copies)
      displays.push_back(wait_visible(pi.dwProcessId, kDisplayClass, 5000));
    // The caller measures the processes from outside meanwhile.
    std::printf("counting\n");
    std::fflush(stdout);
    const double t0 = now_ms(), end = t0 + count * 1000.0;
    int samples = 0, on_top = 0, swaps = 0;
    double last_swap = 0;
    bool first_above = true;
    while (now_ms() < end) {
      Sleep(mode == L"counting" ? 1000 : 20);
      ++samples;
      on_top += uncovered(displays[0]);
      if (displays.size() == 2 && displays[0] && displays[1]) {
        const bool above = is_above(displays[0], displays[1]);
        if (samples > 1 && above != first_above) {
          ++swaps;
          last_swap = now_ms() - t0;
        }
        first_above = above;
      }
    }
    if (mode == L"raising") std::printf("on_top_percent %.1f\n", 100.0 * on_top / samples);
    if (mode == L"pair") std::printf("swaps %d\nlast_swap_s %.1f\n", swaps, last_swap / 1000);
    wchar_t title[32] = {};
    if (displays[0]) GetWindowTextW(displays[0], title, 32);
    std::printf("display %ls\n", title);
    for (std::size_t i = 0; i < copies.size(); ++i) finish(copies[i], settings[i]);
    return 0;
  }

  if (mode == L"floor" && count > 0) {
    PROCESS_INFORMATION pi{};
    const std::wstring exe = dir + L"\\floor.exe";
    if (!launch(exe, dir, pi)) return 1;
    HWND main = shown(pi, exe, L"CountingFloor");
    if (!main) {
      finish(pi, main);
      return 1;
    }
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, 0);
    Sleep(2000);
    std::printf("counting\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(count) * 1000);
    finish(pi, main);
    return 0;
  }

  std::printf(
      "usage: probe startup RUNS [BASE] | probe counting|floor|raising|pair SECONDS [BASE]\n");
  return 2;
}
