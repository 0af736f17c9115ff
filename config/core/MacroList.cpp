#include "config/core/MacroList.h"

#include "shared/codes/MacroFile.h"
#include "shared/store/CIniFile.h"

#include <windows.h>

namespace {

std::wstring SlotKey(int slot) {
    return std::to_wstring(slot);
}

// Numbers tried for a new name; the file search ends far sooner in practice.
constexpr int kMostNewMacroNumbers = 100000;

} // namespace

bool SameMacroName(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::optional<std::wstring> ListedSpelling(std::span<const std::wstring> names,
                                           std::wstring_view name) {
    if (name.empty()) {
        return std::nullopt;
    }
    for (const std::wstring& listed : names) {
        if (SameMacroName(listed, name)) {
            return listed;
        }
    }
    return std::nullopt;
}

MacroList::MacroList(std::wstring settingsFile) : settingsFile_(std::move(settingsFile)) {}

std::wstring MacroList::ReadSlot(int slot) const {
    return CIniFile(settingsFile_).ReadString(kSection, SlotKey(slot), L"");
}

int MacroList::Load() {
    names_.clear();
    slots_.clear();
    for (int slot = 0; slot < MaxMacros; ++slot) {
        std::wstring name = ReadSlot(slot);
        if (!name.empty()) {
            names_.push_back(std::move(name));
            slots_.push_back(MacroSlot{slot});
        }
    }
    return Count();
}

std::optional<std::wstring> MacroList::NameAt(MacroListPosition position) const {
    const int i = static_cast<int>(position);
    if (i < 0 || i >= Count()) {
        return std::nullopt;
    }
    return names_[i];
}

MacroSlot MacroList::SlotAt(MacroListPosition position) const {
    const int i = static_cast<int>(position);
    return i >= 0 && i < Count() ? slots_[i] : MacroSlot::None;
}

MacroListPosition MacroList::FindMacroName(std::wstring_view name) const {
    for (int i = 0; i < Count(); ++i) {
        if (names_[i] == name) {
            return MacroListPosition{i};
        }
    }
    return MacroListPosition::None;
}

MacroSlot MacroList::SlotOf(std::wstring_view name) const {
    for (int slot = 0; slot < MaxMacros; ++slot) {
        if (ReadSlot(slot) == name) {
            return MacroSlot{slot};
        }
    }
    return MacroSlot::None;
}

MacroSlot MacroList::Add(std::wstring_view name) {
    if (name.empty()) {
        return MacroSlot::None;
    }
    MacroSlot result = MacroSlot::None;
    std::optional<int> firstEmpty;
    for (int slot = 0; slot < MaxMacros; ++slot) {
        const std::wstring held = ReadSlot(slot);
        if (held.empty()) {
            firstEmpty = firstEmpty.value_or(slot);
        } else if (SameMacroName(held, name)) {
            // Listing a name twice would give the mouse the same macro in two slots.
            result = MacroSlot{slot};
            break;
        }
    }
    if (result == MacroSlot::None && firstEmpty &&
        CIniFile(settingsFile_).WriteString(kSection, SlotKey(*firstEmpty), name)) {
        result = MacroSlot{*firstEmpty};
    }
    Load();
    return result;
}

void MacroList::Remove(std::wstring_view name) {
    const CIniFile ini(settingsFile_);
    for (int slot = 0; slot < MaxMacros; ++slot) {
        if (ReadSlot(slot) == name) {
            ini.WriteString(kSection, SlotKey(slot), L"");
        }
    }
    Load();
}

std::optional<std::wstring> NewMacroName(std::wstring_view macroFolder,
                                         std::wstring_view baseName) {
    for (int n = 1; n <= kMostNewMacroNumbers; ++n) {
        std::wstring name = std::wstring(baseName) + std::to_wstring(n);
        const std::optional<MacroFile> file = MacroFile::ForName(macroFolder, name);
        if (!file) {
            return std::nullopt;
        }
        if (GetFileAttributesW(file->Path().c_str()) == INVALID_FILE_ATTRIBUTES) {
            return name;
        }
    }
    return std::nullopt;
}
