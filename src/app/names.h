#pragma once

namespace ombrelo::win32 {

// The program's window classes and the settings window's control ids, in
// tab order; tools that drive the program from outside (the end-to-end
// driver, the benchmark's probe) find its windows by them.
inline constexpr const wchar_t* kSettingsClass = L"OmbreloSettings";
// The display's class keeps the name it always had, which tools look for.
inline constexpr const wchar_t* kDisplayClass = L"OmbreloTimer";

enum ControlId : int {
  kPresentationBox = 101,
  kBrowseButton,
  kPresentationLabel,
  kStartButton,
  kFontLabel,
  kFontButton,
  kTextColourButton,
  kBackColourButton,
  kBottomLeftOption,
  kBottomRightOption,
  kCornerLabel,
  kTextSwatch,  // the colour swatches: no tab stops
  kBackSwatch,
};

}  // namespace ombrelo::win32
