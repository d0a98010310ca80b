#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "ui/form1.h"
#include "ui/form2.h"
#include "win32/settings_window.h"
#include "win32/system_win32.h"
#include "win32/timer_window.h"

using namespace ombrelo;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  win32::Win32System system;
  win32::TimerWindow timer_view(instance);
  ui::Form2 form2(timer_view, system);
  timer_view.on_tick = [&form2] { form2.Timer1_Timer(); };

  win32::SettingsWindow settings(instance);
  if (!settings.hwnd()) {
    MessageBoxW(nullptr, L"ウィンドウを作成できませんでした。", L"Ombrelo", MB_OK | MB_ICONERROR);
    return 1;
  }
  system.set_owner(settings.hwnd());
  ui::Form1 form1(settings, form2, system);
  settings.attach(form1);

  form1.Form_Load();
  // Closed during start-up: the close is on its way, with nothing to show.
  if (!form1.closing()) settings.show();

  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Tab, arrow keys and mnemonics among the settings window's controls.
    if (settings.hwnd() && IsDialogMessageW(settings.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
