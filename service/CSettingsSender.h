#pragma once

#include "service/CFeatureReports.h"
#include "service/CSettingsGuard.h"
#include "service/MouseMemoryMap.h"
#include "shared/codes/MacroEvent.h"
#include "shared/store/SettingsRecord.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

// Sends the settings record's values to the mouse, one setting at a time or the whole
// configuration, and applies the two system mouse settings the service owns (wheel lines and
// pointer speed). The record is the service window's; the window reloads it before a send.
// Results: 1 done, 0 nothing sent (control handle closed, or an argument out of range) or a
// report failed. A value that the mouse cannot take (a missing key reads as -1) is not written;
// the commit that the step ends with is still sent, as it also commits earlier writes of its
// group.
class CSettingsSender {
public:
    // The macro names of "MACRO_LIST" positions 0 to 5; empty for a free position.
    using MacroNames = std::array<std::wstring, MouseMemoryMap::kMacroPositions>;

    using SystemParametersFunction =
        std::function<BOOL(UINT action, UINT param, PVOID value, UINT flags)>;
    static constexpr DWORD kBracketPauseMilliseconds = 100;
    static constexpr int kRegisterEAKey = 170;

    // `settingsPath` is "Mouse.ini" (its "MACRO_LIST"), `macroFolder` holds the macro files.
    CSettingsSender(CFeatureReports& reports, const SettingsRecord& settings,
                    std::wstring settingsPath, std::wstring macroFolder);

    void SetPaths(std::wstring settingsPath, std::wstring macroFolder);
    // The guard of the record: "Profile" is changed by the input-report readers under it, so it
    // is read under it too. Without one (a record no reader touches) it is read directly.
    void SetGuard(const CSettingsGuard* guard) { guard_ = guard; }
    // The window that is told of system setting changes with WM_SETTINGCHANGE.
    void SetOwnerWindow(HWND window) { owner_ = window; }
    // Replaces SystemParametersInfoW, for tests.
    void SetSystemParameters(SystemParametersFunction function) {
        systemParameters_ = std::move(function);
    }

    // "MACRO_LIST" of `settingsPath` in one read; nothing when the file could not be read.
    static std::optional<MacroNames> ListedMacros(const std::wstring& settingsPath);
    // Reads "MACRO_LIST" once for the macro buttons and macros of the update about to start, so
    // that no read of a large "Mouse.ini" holds the bracket open. Kept until the bracket closes;
    // false when the file could not be read.
    bool ReadMacroList();
    // Reads "MACRO_LIST" and the file of the macro at position 0..5 in one look, for the
    // SendMacro of the update about to start; kept until the bracket closes. False when either
    // file could not be read.
    bool ReadMacro(int position);

    // The update bracket report, then a pause of at least 100 ms.
    int SendUpdateBracket(int value);
    int ClearRegister3E();
    int SendPollingRate(bool commit);
    // The system wheel-scroll lines: one screen per notch when "UniversalScrollEnabled" is 1,
    // else "WheelScrollLines" (1 to 100; anything else leaves the system setting alone). A value
    // the system already holds is not set again, so nobody is told of a change.
    int ApplyWheelScrollLines();
    // The system pointer speed from "Acceleration" 1 to 11; anything else leaves it alone.
    int ApplyPointerSpeed();
    // "DPI" (stage 0..3) at the current profile's base + 2.
    int SendCurrentDpiStage(bool commit);
    int SendDpiStage(int stage, bool commit);
    int SendDoubleClickSpeedRegister(bool commit);
    int ResetProfileRegister(bool commit);
    // Button 0..7 of the record to its device slot; `profile` (0..4) only names the launch
    // selectors. 0 when nothing was sent (a macro button whose macro is not listed).
    int SendButtonAssignment(int profile, int button);
    int SendLighting(int ignored, int variant);
    // FF FF at 0x00EA when `key` is 170 or 0.
    int SendRegisterEA(int key);
    int CommitAll();
    // Ends as a failure (0) at the first report the mouse refuses; 1 without the mouse.
    int SendAll2Mouse();
    // The whole upload as an apply and a profile switch send it: the update bracket around
    // SendAll2Mouse and CommitAll. 0 when the mouse refused any report of it, the closing
    // bracket included.
    int UploadAll();
    // The macro of "MACRO_LIST" position 0..5 (or 200 zero bytes with `clear`) to its slot.
    // Nothing is sent when its file exists but cannot be read.
    int SendMacro(int position, bool clear);

    // Device slot of the listed macro named `name`, nothing when it is not listed.
    std::optional<int> MacroDeviceSlotOf(const std::wstring& name) const;

private:
    struct MacroEvents {
        MacroEventBuffer Events{};
        int Count = 0;
    };

    // The events of the macro listed at `position`; false when its file could not be read.
    bool ReadMacroEvents(int position, MacroEvents& read) const;
    int WriteThenCommit(std::uint16_t address, std::span<const std::uint8_t> data, bool valid,
                        bool commit, std::uint8_t group);
    std::wstring MacroName(int position) const;
    int CurrentProfile() const;
    void NotifySettingChange(UINT action) const;

    CFeatureReports& reports_;
    const SettingsRecord& settings_;
    const CSettingsGuard* guard_ = nullptr;
    std::wstring settingsPath_;
    std::wstring macroFolder_;
    HWND owner_ = nullptr;
    SystemParametersFunction systemParameters_;
    std::optional<MacroNames> macroList_;
    std::optional<std::pair<int, MacroEvents>> macro_;
};
