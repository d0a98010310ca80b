#pragma once
// The settings window's layout: its controls, in tab order, and its size.
// The start-up benchmark's floor shows the same window from it.
#include <windows.h>

#include "app/names.h"

namespace ombrelo::win32 {

struct Control {
  int id;
  const wchar_t* cls;
  const wchar_t* text;
  DWORD style;
  DWORD ex_style;
  float left, top, width, height;  // twips, in the client area
};

// In tab order: creation order is the order the Tab key walks. Screen
// readers name an edit box by the static text just before it, so the path
// box's label comes first; a static takes no tab stop. The buttons notify
// their window when they take the focus, as the edit box always does, so
// that the window always knows which control the user was on.
constexpr Control kControls[] = {
    {kPresentationLabel, L"STATIC", L"Powerpointファイルの指定", SS_LEFT | SS_NOPREFIX, 0, 120, 120,
     3975, 255},
    {kPresentationBox, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 120, 360, 3975,
     375},
    {kBrowseButton, L"BUTTON", L"...", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, 4200, 360, 375,
     375},
    {kStartButton, L"BUTTON", L"スライドショー開始", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, 480,
     960, 3375, 615},
    {kFontLabel, L"STATIC", L"フォントの指定", SS_LEFT | SS_NOPREFIX, 0, 120, 1920, 1335, 255},
    {kFontButton, L"BUTTON", L"", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, 120, 2160, 3255, 255},
    {kTextColourButton, L"BUTTON", L"字色", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, 3480, 1920,
     495, 255},
    {kBackColourButton, L"BUTTON", L"背景", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, 4080, 1920,
     495, 255},
    {kBottomLeftOption, L"BUTTON", L"左下", WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON | BS_NOTIFY,
     0, 960, 2520, 735, 255},
    {kBottomRightOption, L"BUTTON", L"右下", BS_AUTORADIOBUTTON | BS_NOTIFY, 0, 1800, 2520, 735,
     255},
    {kCornerLabel, L"STATIC", L"表示位置", WS_GROUP | SS_LEFT | SS_NOPREFIX, 0, 120, 2520, 1095,
     255},
    // The colour swatches, drawn by the window; their texts are never shown
    // but name them for screen readers.
    {kTextSwatch, L"STATIC", L"字色", SS_OWNERDRAW, 0, 3600, 2160, 375, 255},
    {kBackSwatch, L"STATIC", L"背景", SS_OWNERDRAW, 0, 4200, 2160, 375, 255},
};

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// A presentation dropped from Explorer fills the path box.
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;
constexpr float kClientWidth = 4680, kClientHeight = 2850;

}  // namespace ombrelo::win32
