#pragma once

#include "service/CActionSystem.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

// The PC-side actions of mouse buttons: keystroke combinations, window commands, locking the
// workstation, starting programs, the browser's start page and the mail program. An object
// lives for one action and keeps no state; every call into the system goes through `system`.
// Pauses block the calling thread (an input-report reader) for the length of a sequence.
class CBasicFunction {
public:
    // Every synthesised key carries the extended flag, letters and modifiers included.
    static constexpr DWORD kKeyPress = KEYEVENTF_EXTENDEDKEY;
    static constexpr DWORD kKeyRelease = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
    static constexpr DWORD kStepPauseMs = 50;
    static constexpr DWORD kHoldPauseMs = 100;

    explicit CBasicFunction(CActionSystem& system) : system_(system) {}
    CBasicFunction(const CBasicFunction&) = delete;
    CBasicFunction& operator=(const CBasicFunction&) = delete;

    // Runs the operation that a PC-side action code selects (64-72, 80-85, 120, 122-128, 130,
    // 132, 133, 135-139); false when the code selects none.
    bool Perform(std::uint8_t code);

    void SendCtrlX();
    void SendCtrlC();
    void SendCtrlV();
    void SendCtrlZ();
    void SendCtrlA();
    void SendCtrlF();
    void SendCtrlN();
    void SendCtrlP();
    void SendCtrlS();
    void SendAltTab();
    void SendAltF4();
    void LockWorkStation();
    void SendWinE();
    void SendWinR();
    void SendWinD();
    void SendWinF();
    void SendWin();
    void SendWinTab();
    void SendCtrlWinTab();
    void SendDelete();
    void SendF3();
    void SendTab();
    // Alt stays down until ReleaseAlt.
    void HoldAltTab();
    void ReleaseAlt();
    void PrintScreen();
    void SendAltPrintScreen();
    void BrowserFavorites();
    void BrowserForward();
    void BrowserBack();
    void BrowserStop();
    void BrowserRefresh();
    // WM_SYSCOMMAND to the foreground window when it has the box and is not the desktop.
    void MaximizeForeground();
    void MinimizeForeground();
    // "config.exe" from the service's own folder.
    void OpenConfigProgram();
    void OpenCalculator();
    void OpenTaskManager();
    // With `useRegistry` the program of the "mailto" open command, else the mail key.
    void OpenMailClient(bool useRegistry);
    // The current user's browser start page: the key's default value when it has a non-empty
    // one, else its "Start Page".
    void OpenBrowserHome();

    // The program of a "mailto" open command: the text between the opening double quote at the
    // start and the next double quote; empty when the command does not start with a quoted
    // program. Arguments are dropped.
    static std::wstring MailProgram(std::wstring_view command);

private:
    void Press(BYTE key);
    void Release(BYTE key);
    // Modifier down, key down, key up, modifier up, `kStepPauseMs` between neighbours.
    void Combination(BYTE modifier, BYTE key);
    // Modifier down, key down, held for `kHoldPauseMs`, key up, modifier up.
    void HeldCombination(BYTE modifier, BYTE key);
    void Tap(BYTE key);
    void Instant(BYTE key);
    void WindowCommand(LONG_PTR neededBox, WPARAM command);
    // Opens a text through the shell; an empty one opens nothing.
    void Open(const std::wstring& file, int show);

    CActionSystem& system_;
};
