#pragma once

// The driver's asking of its hook in the program (dpi_hook.cpp), and the
// property that carries the scale.
namespace ombrelo::e2e {
inline constexpr const wchar_t* kScaleChange = L"OmbreloTestScaleChange";
}
