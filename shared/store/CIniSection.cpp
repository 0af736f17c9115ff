#include "shared/store/CIniSection.h"

#include "shared/store/IniTextRules.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

// A value in matching single or double quotes reads without them.
std::wstring_view Unquoted(std::wstring_view value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
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
    const std::optional<std::vector<wchar_t>> read = ini_.ReadSectionText(section_);
    if (!read) {
        readable_ = false;
        return;
    }
    const std::vector<std::wstring_view> lines = CIniFile::ListEntries(*read);
    entries_.reserve(lines.size());
    for (const std::wstring_view line : lines) {
        const std::size_t equals = line.find(L'=');
        const std::wstring_view key = Trimmed(line.substr(0, equals));
        if (key.empty()) {
            continue;
        }
        Value value;
        if (equals != std::wstring_view::npos) {
            value = std::wstring(Trimmed(line.substr(equals + 1)));
        }
        // The first of duplicate keys is the one the platform reads; a hashed look-up keeps a
        // section of many keys linear to read.
        entries_.try_emplace(Folded(key), std::move(value));
    }
}

std::wstring CIniSection::Folded(std::wstring_view key) {
    std::wstring folded(key);
    if (!folded.empty()) {
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, key.data(),
                      static_cast<int>(key.size()), folded.data(), static_cast<int>(folded.size()),
                      nullptr, nullptr, 0);
    }
    return folded;
}

const CIniSection::Value* CIniSection::Find(std::wstring_view key) const {
    const auto found = entries_.find(Folded(key));
    return found == entries_.end() ? nullptr : &found->second;
}

int CIniSection::ReadInt(std::wstring_view key, int defaultValue) const {
    if (IsCommentKey(key)) {
        return ini_.ReadInt(section_, key, defaultValue);
    }
    const Value* value = Find(key);
    if (value == nullptr || !*value) {
        return defaultValue;
    }
    // A value too long for the platform's read is cut by it; let it do the cut.
    if ((*value)->size() >= CIniFile::kIntCapacity - 1) {
        return ini_.ReadInt(section_, key, defaultValue);
    }
    return CIniFile::ParseInt(Unquoted(**value), defaultValue);
}

std::wstring CIniSection::ReadString(std::wstring_view key, std::wstring_view defaultValue,
                                     std::size_t capacity) const {
    if (capacity == 0) {
        return {};
    }
    if (IsCommentKey(key)) {
        return ini_.ReadString(section_, key, defaultValue, capacity);
    }
    const Value* value = Find(key);
    const bool found = value != nullptr && *value;
    const std::wstring_view raw = found ? std::wstring_view(**value) : defaultValue;
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
