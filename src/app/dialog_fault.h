#pragma once

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include "ui/messages.h"

namespace ombrelo::win32 {

// What a common dialog's own error number (CommDlgExtendedError) means; the
// system has no text for these.
constexpr ui::DialogFault dialog_fault(DWORD error) {
  switch (error) {
    case CDERR_MEMALLOCFAILURE:
    case CDERR_MEMLOCKFAILURE: return ui::DialogFault::out_of_memory;
    case FNERR_INVALIDFILENAME: return ui::DialogFault::invalid_file_name;
    case FNERR_BUFFERTOOSMALL: return ui::DialogFault::file_name_too_long;
    case CFERR_NOFONTS: return ui::DialogFault::no_fonts;
  }
  return ui::DialogFault::other;
}

}  // namespace ombrelo::win32
