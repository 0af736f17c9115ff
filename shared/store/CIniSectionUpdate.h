#pragma once

#include "shared/store/CIniFile.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The keys one writer owns in one section, stored with one section write instead of one write
// per key (each of which rewrites the whole file). The file ends up as the keys written one by
// one in the order added would leave it: each replaces the first key of its name in place,
// later keys of that name stay as they are (reads take the first), missing keys are appended
// in the order added, and every other line keeps its place. Where one section write could not
// promise that (comment lines, lines without '=', the section twice, a section over the size
// limit, values the platform would trim, a file another program keeps writing meanwhile), the
// keys are written one by one.
class CIniSectionUpdate {
public:
    // The longest section list, terminators included, that is read or written whole: the
    // section write takes at most 65,535 bytes, and older systems read no more than this.
    static constexpr std::size_t kMaxSectionChars = 32767;

    enum class Outcome {
        Failed,       // the platform could not write the file
        Unchanged,    // every key held its value already: nothing written
        WholeSection, // one section write
        KeyByKey,     // one write per key
    };

    explicit CIniSectionUpdate(std::wstring section);

    // CR and LF are removed from keys and values, as every write removes them.
    void Add(std::wstring_view key, std::wstring_view text);
    void AddInt(std::wstring_view key, int value);
    void AddStruct(std::wstring_view key, std::span<const std::uint8_t> bytes);
    // The writer owns every key of the section: keys of the file that were not added are
    // removed, as deleting them one by one would. Comment lines and lines without '=' stay.
    void OwnAllKeys() { ownsAllKeys_ = true; }

    Outcome Write(const CIniFile& ini) const;
    // One write per key in the order added, stopping at the first that fails; with OwnAllKeys
    // the keys not added are deleted first.
    Outcome WriteKeyByKey(const CIniFile& ini) const;

private:
    struct Key {
        std::wstring Name;
        std::wstring Value;
    };
    enum class Attempt { Written, Unchanged, Failed, Raced, NotSafe };

    Attempt TryWholeSection(const CIniFile& ini) const;
    // Builds the section's new list from the one read; false when a section write would not
    // give the file that key by key writes give. changed tells whether any key changes.
    bool Merge(const std::vector<wchar_t>& current, std::vector<wchar_t>& merged,
               bool& changed) const;
    bool KeysAreSafe() const;
    bool IsAdded(std::wstring_view name) const;

    std::wstring section_;
    std::vector<Key> keys_;
    bool ownsAllKeys_ = false;
};
