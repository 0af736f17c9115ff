#pragma once

#include "shared/codes/MacroEvent.h"

#include <optional>
#include <string>
#include <string_view>

// One macro's ini file: section "Setting" with "MacroFilePath", "Count", "LoopTime", the
// optional "IsDef" and the 180-byte event structure "MacroSetting_0".
class MacroFile {
public:
    static constexpr std::wstring_view Extension = L".MACRO";

    // A file chosen by path (exported macros, files named by the caller).
    explicit MacroFile(std::wstring path);

    // The file of macro `name` in `macroFolder`; nothing when the name cannot be a file name or
    // the path would be too long, so a bad name never reaches the disk.
    static std::optional<MacroFile> ForName(std::wstring_view macroFolder, std::wstring_view name);

    const std::wstring& Path() const { return path_; }

    // Writes the first `count` events (clamped to 0..MaxMacroEvents) and the loop setting;
    // "IsDef" is written only when `isDefault` is given. False when any write failed.
    bool Write(const MacroEventBuffer& events, int count, int loopTime,
               std::optional<bool> isDefault = std::nullopt) const;

    enum class ReadResult {
        Read,
        NoEvents,   // the event structure is missing or malformed (or the file is)
        Unreadable, // the file exists but could not be read now
    };
    // Clears `events`, then reads the count (clamped to 0..MaxMacroEvents) and the events in one
    // look at the file. Unless they were read the count is 0 and `events` stay clear.
    ReadResult ReadEvents(MacroEventBuffer& events, int& count) const;
    // ReadEvents; true when the events were read.
    bool Read(MacroEventBuffer& events, int& count) const;

    // "LoopTime", 0 when missing.
    int ReadLoopTime() const;
    bool WriteLoopTime(int loopTime) const;

private:
    std::wstring path_;
};
