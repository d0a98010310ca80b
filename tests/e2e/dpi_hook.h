#pragma once

// The driver's askings of its hook in the program (dpi_hook.cpp), each a
// window message and the property that carries its value, which goes once
// the window has taken it.
namespace ombrelo::e2e {
inline constexpr const wchar_t* kScaleChange = L"OmbreloTestScaleChange";  // dots per inch
inline constexpr const wchar_t* kMessageFont =
    L"OmbreloTestMessageFont";                                         // points; the face's atom
inline constexpr const wchar_t* kDropFiles = L"OmbreloTestDropFiles";  // atoms of the names
}  // namespace ombrelo::e2e
