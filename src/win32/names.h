#pragma once

namespace ombrelo::win32 {

// The program's window classes and the settings window's control ids, in
// tab order; tools that drive the program from outside (the end-to-end
// driver, the benchmark's probe) find its windows by them.
inline constexpr const wchar_t* kSettingsClass = L"OmbreloSettings";
inline constexpr const wchar_t* kTimerClass = L"OmbreloTimer";

enum ControlId : int {
  kText1 = 101,
  kCommand1,
  kLabel1,
  kCommand2,
  kLabel2,
  kCommand3,
  kCommand4,
  kCommand5,
  kOption1,
  kOption2,
  kLabel3,
  kShape1,  // the colour swatches: no tab stops
  kShape2,
};

}  // namespace ombrelo::win32
