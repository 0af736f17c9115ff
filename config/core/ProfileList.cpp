#include "config/core/ProfileList.h"

#include "shared/store/CIniFile.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr std::wstring_view kExtension = L".ini";

int CompareNoCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE);
}

bool EndsWithExtension(std::wstring_view name) {
    return name.size() > kExtension.size() &&
           CompareNoCase(name.substr(name.size() - kExtension.size()), kExtension) == CSTR_EQUAL;
}

// Ends a file search (its handle is not closed with CloseHandle).
struct FindCloser {
    HANDLE handle;
    ~FindCloser() { FindClose(handle); }
};

} // namespace

bool SameProfileName(std::wstring_view a, std::wstring_view b) {
    return CompareNoCase(a, b) == CSTR_EQUAL;
}

ProfileList::ProfileList(ConfigPaths paths) : paths_(std::move(paths)) {}

std::optional<std::size_t> ProfileList::FindProfileName(std::wstring_view name) const {
    const auto found = std::ranges::find_if(
        names_, [&](const std::wstring& listed) { return SameProfileName(listed, name); });
    if (found == names_.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - names_.begin());
}

bool ProfileList::FindNames() {
    names_.clear();
    if (!paths_.Valid()) {
        return false;
    }
    const std::wstring pattern = paths_.ProfileFolder() + L"*.ini";
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        // An empty folder is a normal end of the search.
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    const FindCloser closer{search};
    do {
        const std::wstring_view name(found.cFileName);
        // The pattern also matches longer extensions through short file names.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && EndsWithExtension(name)) {
            names_.emplace_back(name.substr(0, name.size() - kExtension.size()));
        }
    } while (FindNextFileW(search, &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        names_.clear();
        return false;
    }
    std::ranges::sort(names_, [](const std::wstring& a, const std::wstring& b) {
        const int order = CompareNoCase(a, b);
        return order == CSTR_EQUAL ? a < b : order == CSTR_LESS_THAN;
    });
    return true;
}

bool ProfileList::WriteSection() const {
    struct Entry {
        std::wstring Key;
        std::wstring Value;
    };
    std::vector<Entry> entries;
    entries.push_back({L"ProfileCount", std::to_wstring(names_.size())});
    std::vector<Entry> links;
    for (std::size_t i = 0; i < names_.size(); ++i) {
        const std::optional<std::wstring> file = paths_.ProfileFile(names_[i]);
        const std::wstring link =
            file ? CIniFile(*file).ReadString(L"GROUP", L"LinkName", L"") : std::wstring();
        entries.push_back({std::to_wstring(i), link});
        // A key cannot hold "=": such a link can only be listed, not looked up.
        if (link.empty() || link.find(L'=') != std::wstring::npos) {
            continue;
        }
        // Two profiles linked to one program: the later one wins, as key by key writes give.
        std::erase_if(links, [&](const Entry& e) { return SameProfileName(e.Key, link); });
        links.push_back({link, names_[i]});
    }
    entries.insert(entries.end(), links.begin(), links.end());

    // The whole section in one write: no stale key survives, and the service never reads a
    // half-written list.
    std::vector<std::wstring> lines;
    for (const Entry& e : entries) {
        lines.push_back(e.Key + L"=" + e.Value);
    }
    return CIniFile(paths_.SettingsFile()).ReplaceSection(kSection, lines);
}

bool ProfileList::Load() {
    return FindNames() && WriteSection();
}
