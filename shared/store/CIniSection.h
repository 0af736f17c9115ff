#pragma once

#include "shared/store/CIniFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

// One section of an ini file, read from the file once. Its look-ups give what the same calls
// on CIniFile give for that section at the time of reading, without opening the file again.
class CIniSection {
public:
    CIniSection(const CIniFile& ini, std::wstring section);

    // False when the file exists but could not be read: every look-up then gives its default.
    bool Readable() const { return readable_; }
    // True for a section without keys: missing, empty, or in a missing or empty file.
    bool Empty() const { return entries_.empty(); }

    int ReadInt(std::wstring_view key, int defaultValue) const;
    std::wstring ReadString(std::wstring_view key, std::wstring_view defaultValue,
                            std::size_t capacity = CIniFile::kDefaultCapacity) const;
    bool ReadStruct(std::wstring_view key, std::span<std::uint8_t> bytes) const;

private:
    // Absent for a line that holds no '=': the platform reads the default for it.
    using Value = std::optional<std::wstring>;

    // Keys compare without regard to case: they are stored and looked up upper-cased.
    static std::wstring Folded(std::wstring_view key);
    const Value* Find(std::wstring_view key) const;

    CIniFile ini_;
    std::wstring section_;
    std::unordered_map<std::wstring, Value> entries_;
    bool readable_ = true;
};
