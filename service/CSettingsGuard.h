#pragma once

#include "shared/store/SettingsRecord.h"

#include <mutex>
#include <string>

// The lock around the service window's settings record. The window thread replaces the record
// on reloads while the input-report readers change its "Profile" and read launch texts from it;
// both sides go through this guard. The lock is recursive, so that a window handler holding it
// may call what takes it again.
class CSettingsGuard {
public:
    explicit CSettingsGuard(SettingsRecord& record) : record_(record) {}
    CSettingsGuard(const CSettingsGuard&) = delete;
    CSettingsGuard& operator=(const CSettingsGuard&) = delete;

    // Held by the window thread while it replaces or changes the record.
    [[nodiscard]] std::unique_lock<std::recursive_mutex> Lock() const {
        return std::unique_lock(mutex_);
    }

    int Profile() const;
    // Sets "Profile" and writes the whole record to the settings file `path`, both under the
    // lock, so that a reload cannot come between them. An empty path writes nothing.
    void StoreProfile(int profile, const std::wstring& path);
    // Moves "Profile" by `step`, kept within the profiles 0 to 4; returns the new value.
    int StepProfile(int step);
    // A copy of a button entry's text up to its terminator (the whole field when it has
    // none); empty for a button outside 0 to 7.
    std::wstring ButtonText(int button) const;

private:
    SettingsRecord& record_;
    mutable std::recursive_mutex mutex_;
};
