#pragma once

#include "config/core/ConfigPaths.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// True when two profile names name the same file (file names ignore case).
bool SameProfileName(std::wstring_view a, std::wstring_view b);

// The names of the profile files ("*.ini" of the profile folder), sorted without regard to case
// so that "the profile before the deleted one" does not depend on the file system's order, and
// the section "PROFILE_LIST" of "Mouse.ini" that the service's automatic switching reads.
class ProfileList {
public:
    static constexpr wchar_t kSection[] = L"PROFILE_LIST";

    explicit ProfileList(ConfigPaths paths);

    // LoadProfileList: the names found, then "PROFILE_LIST" rewritten whole: "ProfileCount",
    // keys "0" to "n-1" = each profile's linked program (empty when none), and key = linked
    // program → profile name for every profile that has one. False, with the section untouched,
    // when the folder cannot be searched or the section cannot be written.
    bool Load();

    const std::vector<std::wstring>& Names() const { return names_; }
    int Count() const { return static_cast<int>(names_.size()); }
    // The index of the first name equal to `name`, compared without regard to case as file names
    // are; none when no name is.
    std::optional<std::size_t> FindProfileName(std::wstring_view name) const;
    bool Contains(std::wstring_view name) const { return FindProfileName(name).has_value(); }

private:
    bool FindNames();
    bool WriteSection() const;

    ConfigPaths paths_;
    std::vector<std::wstring> names_;
};
