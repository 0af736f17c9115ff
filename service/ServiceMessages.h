#pragma once

#include <windows.h>

// Private messages of the service window "V212Hid", posted by the configuration and tray
// programs. The data itself travels in "Mouse.ini".
inline constexpr UINT kMsgClickCount = 0x4AC; // wParam WM_LBUTTONUP or WM_RBUTTONUP
inline constexpr UINT kMsgLighting = 0x4CB;   // wParam, lParam: the two lighting parameters
inline constexpr UINT kMsgNothing = 0x4CD;
inline constexpr UINT kMsgCurrentDpiStage = 0x4FA;
inline constexpr UINT kMsgBracketOnly = 0x4FB;
inline constexpr UINT kMsgShowTray = 0x4FC;
inline constexpr UINT kMsgPollingRate = 0x4FD;
inline constexpr UINT kMsgSendAll = 0x4FE;
inline constexpr UINT kMsgApplyAll = 0x4FF; // answered with kMsgServiceEvent (11, 0)
inline constexpr UINT kMsgTrayFlags = 0x504;
inline constexpr UINT kMsgWheelLines = 0x50F;
inline constexpr UINT kMsgDoubleClickSpeed = 0x510;
inline constexpr UINT kMsgPointerSpeedOrDpi = 0x511; // wParam and lParam 255: pointer speed
inline constexpr UINT kMsgResetProfile = 0x512;
inline constexpr UINT kMsgButtonAssignment = 0x513; // wParam profile 0-4, lParam button 0-7
inline constexpr UINT kMsgMacro = 0x514;    // wParam "MACRO_LIST" position 0-5, lParam clear
inline constexpr UINT kMsgDpiStage = 0x516; // wParam stage 0-3
inline constexpr UINT kMsgProfilePrograms = 0x517;

// Posted by the service to the configuration program's window.
inline constexpr UINT kMsgButtonCounts = 0x502; // wParam left count, lParam right count
inline constexpr UINT kMsgServiceEvent = 0x505; // wParam what happened, lParam its value

// wParam values of kMsgServiceEvent.
inline constexpr WPARAM kEventReadBackDone = 0;
inline constexpr WPARAM kEventDpiStageChanged = 8;
inline constexpr WPARAM kEventProfileChanged = 9;
inline constexpr WPARAM kEventLightingReported = 10;
inline constexpr WPARAM kEventApplied = 11;
inline constexpr WPARAM kEventAutoProfile = 15;
