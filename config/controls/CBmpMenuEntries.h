#pragma once

#include <span>
#include <string>
#include <vector>

// One entry of a bitmap menu, or one sub-entry of an entry (sub-entries use text and value only).
struct tagBMPMENUINFO {
    std::wstring text;
    bool hasSubMenu = false;
    bool subMenuOpen = false;
    // Handed back to the owner when the entry is chosen.
    int value = 0;
    std::vector<tagBMPMENUINFO> subEntries;
};

// The entries of one bitmap menu. A menu and each of its sub-menus has 22 entry buttons, so
// entries past 22 are dropped rather than left without a button; texts are cut to 259
// characters.
class CBmpMenuEntries {
public:
    static constexpr size_t kMaxEntries = 22;
    static constexpr size_t kMaxText = 259;

    // False when the entry was dropped.
    bool AddItem(const std::wstring& text, int value);
    // Marks entry `index` as having a sub-menu and appends a sub-entry to it; false, with nothing
    // changed, for an index that names no entry or a sub-menu that is already full.
    bool AddSubItem(int index, const std::wstring& text, int value);
    void Clear() { m_entries.clear(); }

    std::span<tagBMPMENUINFO> Entries() { return m_entries; }
    std::span<const tagBMPMENUINFO> Entries() const { return m_entries; }
    // Null for an index that names no entry.
    tagBMPMENUINFO* At(int index);

private:
    std::vector<tagBMPMENUINFO> m_entries;
};
