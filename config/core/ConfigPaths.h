#pragma once

#include <optional>
#include <string>
#include <string_view>

// The data paths of one main dialog, formed once: the settings file "Mouse.ini", the profile
// folder and the macro folder, each from the data folder. Without a data folder the paths are
// invalid and empty, so nothing is ever written relative to the current folder: the program
// shows an error and runs read-only.
class ConfigPaths {
public:
    // Invalid paths.
    ConfigPaths() = default;

    // The user's data folder; forming it creates the folder and its "Profile\" and "Macro\".
    static ConfigPaths FromUserDataFolder();
    // A given data folder (tests, other installations); its "Profile\" and "Macro\" are
    // created. Invalid when the folder is empty or the sub-folders cannot be made.
    static ConfigPaths FromDataFolder(std::wstring_view folder);
    // "Mouse.ini" beside the running program: the settings a new profile starts from.
    static std::wstring ProgramTemplateFile();

    bool Valid() const { return !dataFolder_.empty(); }
    // With the trailing backslash; empty when invalid.
    const std::wstring& DataFolder() const { return dataFolder_; }
    const std::wstring& SettingsFile() const { return settingsFile_; }
    const std::wstring& ProfileFolder() const { return profileFolder_; }
    const std::wstring& MacroFolder() const { return macroFolder_; }

    // "<profile folder><name>.ini"; nothing when the paths are invalid or the store's path check
    // refuses the name.
    std::optional<std::wstring> ProfileFile(std::wstring_view name) const;

private:
    explicit ConfigPaths(std::wstring dataFolder);

    std::wstring dataFolder_;
    std::wstring settingsFile_;
    std::wstring profileFolder_;
    std::wstring macroFolder_;
};
