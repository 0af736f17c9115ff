#pragma once

#include "shared/store/SettingsRecord.h"

#include <functional>
#include <initializer_list>
#include <string>

// The data folder the configuration program and the device service share, made afresh from
// the service's template settings: "Mouse.ini" names the current profile "Game", whose file is
// a copy of it; further profiles are copies with their own changes.
class SharedDataFolder {
public:
    struct Profile {
        std::wstring Name;
        std::function<void(SettingsRecord&)> Edit;
    };

    // False when the folder could not be made.
    static bool Prepare(std::initializer_list<Profile> others = {});
    static std::wstring SettingsFile();
    static std::wstring ProfileFile(const std::wstring& name);
    // The settings a file holds, with defaults for what it lacks.
    static SettingsRecord Read(const std::wstring& file);
};
