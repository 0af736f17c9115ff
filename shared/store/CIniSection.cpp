#include "shared/store/CIniSection.h"

#include <windows.h>

namespace {

std::wstring_view Trimmed(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

// A value in matching single or double quotes reads without them.
std::wstring_view Unquoted(std::wstring_view value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The platform's key and value lists: "key=value" entries, each ended by a zero, the list by a
// second one. The buffer grows until the whole section fits.
std::vector<wchar_t> SectionText(const std::wstring& section, const std::wstring& path) {
    std::vector<wchar_t> buffer(8192);
    for (;;) {
        const DWORD length = GetPrivateProfileSectionW(
            section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        if (length + 2 < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The platform leaves comment lines out of a section's list but still finds them by name.
bool IsCommentKey(std::wstring_view key) {
    return !key.empty() && key.front() == L';';
}

} // namespace

CIniSection::CIniSection(const CIniFile& ini, std::wstring section)
    : ini_(ini), section_(std::move(section)) {
    if (ini_.Path().find_first_of(L"\\/") == std::wstring::npos) {
        return;
    }
    const std::vector<wchar_t> text = SectionText(section_, ini_.Path());
    const std::wstring_view all(text.data(), text.size());
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find(L'\0', start);
        if (end == std::wstring_view::npos) {
            end = all.size();
        }
        const std::wstring_view line = all.substr(start, end - start);
        start = end + 1;
        const std::size_t equals = line.find(L'=');
        Entry entry{std::wstring(Trimmed(line.substr(0, equals))), std::nullopt};
        if (equals != std::wstring_view::npos) {
            entry.Value = std::wstring(Trimmed(line.substr(equals + 1)));
        }
        // The first of duplicate keys is the one the platform reads.
        if (!entry.Key.empty() && Find(entry.Key) == nullptr) {
            entries_.push_back(std::move(entry));
        }
    }
}

const CIniSection::Entry* CIniSection::Find(std::wstring_view key) const {
    for (const Entry& entry : entries_) {
        if (CompareStringOrdinal(entry.Key.data(), static_cast<int>(entry.Key.size()), key.data(),
                                 static_cast<int>(key.size()), TRUE) == CSTR_EQUAL) {
            return &entry;
        }
    }
    return nullptr;
}

int CIniSection::ReadInt(std::wstring_view key, int defaultValue) const {
    if (IsCommentKey(key)) {
        return ini_.ReadInt(section_, key, defaultValue);
    }
    const Entry* entry = Find(key);
    if (entry == nullptr || !entry->Value) {
        return defaultValue;
    }
    // A value too long for the platform's read is cut by it; let it do the cut.
    if (entry->Value->size() >= CIniFile::kIntCapacity - 1) {
        return ini_.ReadInt(section_, key, defaultValue);
    }
    return CIniFile::ParseInt(Unquoted(*entry->Value), defaultValue);
}

std::wstring CIniSection::ReadString(std::wstring_view key, std::wstring_view defaultValue,
                                     std::size_t capacity) const {
    if (capacity == 0) {
        return {};
    }
    if (IsCommentKey(key)) {
        return ini_.ReadString(section_, key, defaultValue, capacity);
    }
    const Entry* entry = Find(key);
    const bool found = entry != nullptr && entry->Value;
    const std::wstring_view raw = found ? std::wstring_view(*entry->Value) : defaultValue;
    // The platform cuts a value too long for the capacity by rules of its own, and drops the
    // blanks that end a default: let it do both.
    if (raw.size() >= capacity - 1 ||
        (!found && !raw.empty() && (raw.back() == L' ' || raw.back() == L'\t'))) {
        return ini_.ReadString(section_, key, defaultValue, capacity);
    }
    const std::wstring_view text = found ? Unquoted(raw) : raw;
    return std::wstring(text);
}

bool CIniSection::ReadStruct(std::wstring_view key, std::span<std::uint8_t> bytes) const {
    return CIniFile::DecodeStruct(ReadString(key, L"", CIniFile::StructCapacity(bytes.size())),
                                  bytes);
}
