#pragma once

#include "shared/codes/MacroEvent.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The two ways a macro is numbered; they differ when a slot in the middle is empty.
// A slot of "MACRO_LIST" ("0" to "5"): what message 0x514 carries to the service.
enum class MacroSlot : int { None = -1 };
// A place in the list of listed names (empty slots left out): what a macro button's entry
// holds and what the macro-name menu reports.
enum class MacroListPosition : int { None = -1 };

// True when two macro names name the same file (file names ignore case).
bool SameMacroName(std::wstring_view a, std::wstring_view b);
// The name of `names` that is the same macro name as `name`, spelt as listed; none for an empty
// name.
std::optional<std::wstring> ListedSpelling(std::span<const std::wstring> names,
                                           std::wstring_view name);

// The macro names of section "MACRO_LIST" of the settings file: the macro slots of the mouse.
class MacroList {
public:
    static constexpr wchar_t kSection[] = L"MACRO_LIST";

    explicit MacroList(std::wstring settingsFile);

    // Reads the names of the slots 0 to 5, non-empty ones in slot order; their number.
    int Load();
    const std::vector<std::wstring>& Names() const { return names_; }
    int Count() const { return static_cast<int>(names_.size()); }
    bool IsFull() const { return Count() >= MaxMacros; }

    // By the names last loaded; nothing (None) for a position outside the list.
    std::optional<std::wstring> NameAt(MacroListPosition position) const;
    MacroSlot SlotAt(MacroListPosition position) const;
    // The list position of the first name equal to `name` (case counts); None when no name is.
    MacroListPosition FindMacroName(std::wstring_view name) const;

    // The slot holding exactly `name`, read from the file now; None when none does.
    MacroSlot SlotOf(std::wstring_view name) const;
    // Writes `name` into the first empty slot, unless a slot holds it already (in any case):
    // that slot is returned. None when all six are named. The names are loaded again.
    MacroSlot Add(std::wstring_view name);
    // Empties every slot holding exactly `name`; the names are loaded again.
    void Remove(std::wstring_view name);

private:
    std::wstring ReadSlot(int slot) const;

    std::wstring settingsFile_;
    std::vector<std::wstring> names_;
    std::vector<MacroSlot> slots_;
};

// A new macro's name: `baseName` followed by the first number 1, 2, ... whose file
// "<baseName><n>.MACRO" is not in the macro folder. Nothing when the name cannot be a file name.
std::optional<std::wstring> NewMacroName(std::wstring_view macroFolder, std::wstring_view baseName);
