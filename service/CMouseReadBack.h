#pragma once

#include "service/CFeatureReports.h"
#include "service/CSettingsGuard.h"
#include "service/CSettingsSender.h"
#include "shared/codes/MacroEvent.h"
#include "shared/store/SettingsRecord.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

// Reads the mouse's own configuration back into the settings files after the mouse is plugged
// in: the profile register, polling rate, DPI stages, register 0x002A, the six macros and the
// eight button assignments of profile 0. Everything is read before anything is written, so a
// mouse that stops answering leaves "Mouse.ini" and the macro files as they were.
class CMouseReadBack {
public:
    // Posts to the configuration program's window; false when that window does not exist.
    using ConfigPoster = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;
    using MacroNames = CSettingsSender::MacroNames;

    static constexpr DWORD kClearPauseMilliseconds = 200;
    // The base name of a new macro when the language file has none.
    static constexpr wchar_t kFallbackMacroName[] = L"Macro";

    // One macro slot as read: the events before the end mark, zeros after them.
    struct MacroImage {
        MacroEventBuffer Events{};
        int Count = 0;
        bool IsDefault = false;
    };

    // `settings` is the service window's record, replaced under `guard`; `sender` clears macro
    // slots and resets the profile register.
    CMouseReadBack(CFeatureReports& reports, CSettingsSender& sender, SettingsRecord& settings,
                   const CSettingsGuard& guard);

    // `settingsPath` is "Mouse.ini", `macroFolder` holds the macro files, `stringsPath` is the
    // language file with the base name of new macros.
    void SetPaths(std::wstring settingsPath, std::wstring macroFolder, std::wstring stringsPath);
    void SetConfigPoster(ConfigPoster poster) { postToConfig_ = std::move(poster); }

    // The readers: each reads from the mouse into `record` and returns false, leaving its fields
    // as they were, when a transfer failed.
    // The profile register; a non-zero register is reset to 0 in the mouse and in `record`.
    bool ReadProfileRegister(SettingsRecord& record);
    bool ReadPollingRate(SettingsRecord& record);
    // The current stage and the four stages; a stage whose code no value encodes to is kept.
    bool ReadDpiStages(SettingsRecord& record);
    bool ReadDoubleClickSpeedRegister(SettingsRecord& record);
    // Button 0..7 of profile 0..4; a macro button takes its name from `macroNames`.
    bool ReadButtonAssignment(SettingsRecord& record, int profile, int button,
                              const MacroNames& macroNames);

    // Prepares a blank mouse: clears the macros of positions 0 to 2 and marks it prepared. 1
    // when the mouse is prepared, 0 when its state could not be read (then nothing is changed).
    int InitDeviceIfBlank();
    // The macro of position 0..5: four block reads; nothing when one failed.
    std::optional<MacroImage> ReadMacroImage(int position);
    // Reads the macro of position 0..5 and writes its macro file (and, for a new macro, its name
    // into "MACRO_LIST"). False when the read failed or no file could be named.
    bool ReadMacro(int position);

    // The whole read-back: reads everything, then writes the macro files and "Mouse.ini" and
    // tells the configuration program. 1 when done, 0 when a read failed and nothing was
    // written.
    int QueryAllFrMouse();

private:
    // The listed name of `position`, or for an empty key a new name that neither a macro file
    // nor another position has.
    std::wstring NameForMacro(int position, const MacroNames& names) const;
    std::wstring NewMacroBaseName() const;
    // False when `name` cannot name a file.
    bool WriteMacro(int position, const std::wstring& name, bool listed,
                    const MacroImage& image) const;

    CFeatureReports& reports_;
    CSettingsSender& sender_;
    SettingsRecord& settings_;
    const CSettingsGuard& guard_;
    std::wstring settingsPath_;
    std::wstring macroFolder_;
    std::wstring stringsPath_;
    ConfigPoster postToConfig_;
};
