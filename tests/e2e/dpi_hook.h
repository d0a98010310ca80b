#pragma once

// The driver's askings of its hook in the program (dpi_hook.cpp), each a
// window message and a property set while it waits, which goes once the
// window has taken it.
namespace ombrelo::e2e {
inline constexpr const wchar_t* kScaleChange = L"OmbreloTestScaleChange";  // dots per inch
inline constexpr const wchar_t* kMessageFont = L"OmbreloTestMessageFont";  // a face's atom
inline constexpr const wchar_t* kDropFiles =
    L"OmbreloTestDropFiles";  // an atom of names split by '|'
}  // namespace ombrelo::e2e
