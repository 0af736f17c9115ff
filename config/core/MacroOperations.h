#pragma once

#include "config/core/MacroEditor.h"
#include "config/core/MacroList.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

enum class MacroRenameResult {
    Renamed,
    Unchanged,   // empty or the same name: nothing to do
    NoMacro,     // no current macro
    Refused,     // the name cannot be a file name
    Exists,      // another macro has that name (in any case)
    WriteFailed, // the new file could not be written and read back; the macro is as it was
};

enum class MacroImportResult {
    Imported,
    Full,        // six macros are listed and the title is not one of them
    NotAMacro,   // the file holds no readable macro
    Refused,     // its title cannot be a macro name
    Declined,    // a macro of that title exists and was not to be replaced
    WriteFailed, // nothing was listed
};

// True when a macro name fits wherever the page shows and renames it.
using MacroNameFits = std::function<bool(std::wstring_view name)>;

struct MacroSaved {
    bool Written = false;
    bool Posted = false;
    MacroSlot Slot = MacroSlot::None;
};

// The macros of the macro page: the list of names, the current macro and its events, and the
// operations on whole macro files in the macro folder. Every file path comes from a name through
// MacroFile::ForName, so a name the store refuses never reaches the disk.
class MacroOperations {
public:
    // Posted to the service with the changed macro's slot (or -1, which it ignores).
    static constexpr UINT kMacroChanged = 0x514;
    static constexpr int kMostLoops = 255;

    // `macroFolder` with its trailing separator; `settingsFile` holds "MACRO_LIST".
    MacroOperations(std::wstring macroFolder, std::wstring settingsFile, MacroEventNamer namer);

    MacroList& List() { return list_; }
    const MacroList& List() const { return list_; }
    MacroEditor& Editor() { return editor_; }
    const MacroEditor& Editor() const { return editor_; }
    // Empty when no macro is current.
    const std::wstring& Current() const { return current_; }
    bool LoopOn() const { return loopOn_; }
    // What the loop box shows and "LoopTime" stores.
    int LoopCount() const { return loopCount_; }
    // Room for one more macro (new, copy, import).
    bool CanAdd() const { return !list_.IsFull(); }

    // The listed macro at `position` becomes current with its events and loop setting; false
    // (nothing changes) outside the list.
    bool Choose(MacroListPosition position);
    // The first listed macro becomes current; none when the list is empty (the names may have
    // been emptied outside the program).
    void ChooseFirst();
    // The current macro's events again from its file.
    void ReloadEvents();
    // An empty macro "<baseName><n>", written and listed, becomes current; nothing with six
    // macros or a base name that cannot be a file name.
    std::optional<std::wstring> New(std::wstring_view baseName);
    // The new file is written and read back before the old one is deleted.
    MacroRenameResult Rename(std::wstring_view newName);
    // "<current> copy <n>", listed and announced, becomes current; nothing with six macros. The
    // current name is cut short before " copy <n>" until the whole name fits.
    std::optional<std::wstring> Copy(const MacroNameFits& fits = {});
    // The macro file `sourcePath` under its title. When a macro of that title exists,
    // `confirmReplace(title)` is asked first.
    MacroImportResult Import(const std::wstring& sourcePath,
                             const std::function<bool(const std::wstring& title)>& confirmReplace);
    // Writes the current macro to `path`; false without a current macro or on a failed write.
    bool Export(const std::wstring& path) const;
    // Deletes the current macro's file and name (after the caller's confirmation) and announces
    // it; the macro before it (or the first) becomes current with its events, or none is left.
    bool Delete();
    // Switches the loop and stores 1 or 0 as its count; nothing without a current macro.
    std::optional<bool> ToggleLoop();
    // The loop box as it is typed: a number within 0..255 other than the count is taken (true);
    // an empty or out-of-range text waits, as typed, for SetLoopCount. The caller saves and
    // announces what was taken.
    bool TypeLoopCount(std::wstring_view boxText);
    // The end of the typing: takes the loop box's number, within 0..255; the text the box is to
    // show when it differs from the box's. The caller saves and announces.
    std::optional<std::wstring> SetLoopCount(std::wstring_view boxText);
    // Writes the current macro's file and posts 0x514 with its slot to the service when that
    // runs; nothing without a current macro.
    MacroSaved SaveAndAnnounce();

private:
    // `name` becomes current with the events and loop setting of its file.
    void LoadMacroEvents(const std::wstring& name);
    void OpenNone();
    // Writes the current events and loop count to the macro file `path`.
    bool SaveMacroFile(const std::wstring& path) const;
    bool WriteConfirmed(const std::wstring& name) const;
    // The listed name that equals `name` in any case.
    std::optional<std::wstring> ListedSpelling(std::wstring_view name) const;
    static bool Announce(MacroSlot slot);

    std::wstring folder_;
    MacroList list_;
    MacroEditor editor_;
    std::wstring current_;
    bool loopOn_ = false;
    int loopCount_ = 0;
};
