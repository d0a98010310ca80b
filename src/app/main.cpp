#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "app/desktop_win32.h"
#include "app/display_window.h"
#include "app/settings_window.h"
#include "platform/win32/library.h"
#include "platform/win32/utf16.h"
#include "ui/display_controller.h"
#include "ui/messages.h"
#include "ui/platform_desktop.h"
#include "ui/settings_controller.h"

using namespace ombrelo;

namespace {

// The exe is run from Downloads or a USB stick, where anyone may have left a
// DLL named like one Windows loads later (the dialogs' shell extensions
// bring many): DLLs come from System32 only, never from the exe's folder or
// the current directory. SetDefaultDllDirectories is looked up, since
// Windows 7 without its update lacks it.
void load_dlls_from_the_system_only() {
  SetDllDirectoryW(L"");
  if (auto set_default = win32::find_function<BOOL WINAPI(DWORD)>(GetModuleHandleW(L"kernel32.dll"),
                                                                  "SetDefaultDllDirectories")) {
    set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  load_dlls_from_the_system_only();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  win32::Win32Dialogs dialogs;
  win32::Win32Programs programs;
  win32::Win32Locale locale;
  ui::PlatformSettingsStore store;
  ui::PlatformClock clock;
  win32::DisplayWindow display_window(instance);
  win32::Win32Screen screen;
  ui::DisplayController display(display_window, clock, screen);
  display_window.attach(display);

  win32::SettingsWindow settings(instance);
  if (!settings.hwnd()) {
    MessageBoxW(nullptr, win32::widen(ui::kNoWindowMessage).c_str(), L"Ombrelo",
                MB_OK | MB_ICONERROR);
    return 1;
  }
  dialogs.set_owner(settings.hwnd());
  ui::SettingsController controller(settings, display, dialogs, store, programs, locale);
  settings.attach(controller);

  controller.open();
  // Closed during start-up: the close is on its way, with nothing to show.
  if (!controller.close_waits()) settings.show();

  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab, arrow keys and mnemonics among the settings window's controls.
    if (settings.hwnd() && IsDialogMessageW(settings.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
