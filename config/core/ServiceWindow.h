#pragma once

#include <windows.h>

// The device service's hidden window "V212Hid", found by its title at the moment of each call:
// the service may start or end at any time. Nothing is sent when it is absent (a null window
// would post to the calling thread).
namespace ServiceWindow {
inline constexpr wchar_t kTitle[] = L"V212Hid";

HWND Find();
// True when the message was posted.
bool Post(UINT message, WPARAM wParam, LPARAM lParam);
// Sends and waits at most timeoutMs for the service to handle it, so a hung service cannot hang
// the configuration program; true when it was handled in time.
bool SendWithTimeout(UINT message, WPARAM wParam, LPARAM lParam, UINT timeoutMs);
} // namespace ServiceWindow
