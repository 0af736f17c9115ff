#pragma once

#include <windows.h>

// Private messages the skinned controls post to their parents.
namespace ControlMessages {
// Bitmap button pressed (wParam 1) or released (wParam 0); lParam the button's window.
constexpr UINT kButtonPress = 0x519;
// Slider value: wParam the value, lParam the slider's id.
constexpr UINT kSliderValue = 0x446;
// Stage marker released: wParam its position, lParam its index.
constexpr UINT kMarkerValue = 0x447;
// Colour chosen: wParam the COLORREF.
constexpr UINT kColorChosen = 0x518;
// Coloured edit: key released (wParam the key, lParam the edit's id), Enter, text changed.
constexpr UINT kEditKeyUp = 0x1402;
constexpr UINT kEditEnter = 0x1403;
constexpr UINT kEditChanged = 0x1404;
} // namespace ControlMessages
