#pragma once

#include <windows.h>

// Titles by which the three programs find each other's windows.
inline constexpr wchar_t kServiceWindowTitle[] = L"V212Hid";
inline constexpr wchar_t kConfigWindowTitle[] = L"Selvin V212 Gaming Mouse";
inline constexpr wchar_t kTrayWindowTitle[] = L"V212MousePennrack";

// Posts to the top-level window with this title. When there is none nothing is posted (a null
// window would post to the calling thread) and false is returned.
bool PostToWindow(const wchar_t* title, UINT message, WPARAM wParam, LPARAM lParam);
