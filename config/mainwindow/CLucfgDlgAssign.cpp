#include "config/mainwindow/CLucfgDlg.h"

#include "config/core/KeyPositionNames.h"
#include "config/dialogs/DPIShift/CDPIShift.h"
#include "config/dialogs/KeyEx/CKeyExDlg.h"
#include "config/dialogs/LaunchApp/CLaunchApp.h"
#include "config/dialogs/LaunchDir/CLaunchDir.h"
#include "config/dialogs/LaunchWWW/CLaunchWWW.h"
#include "config/dialogs/MacroSel/CMacroSelDlg.h"
#include "config/dialogs/SingleKey/CSingleKey.h"
#include "config/dialogs/XShoot/CXShoot.h"
#include "shared/codes/ButtonFunctionCodes.h"
#include "shared/codes/MacroFile.h"

#include <algorithm>
#include <utility>

// Assigning a function chosen in the button-function menu to the selected mouse button: the
// dialogs some functions need, the entry's bytes the service sends, and the store with 0x513.

namespace {
constexpr UINT kButtonChanged = 0x513;

// The button's function when a key dialog gives back nothing usable.
constexpr std::array<std::uint8_t, kButtonCount> kDefaultCodes = DefaultButtonCodes;

// Heads of the sub-menus: a choice under them carries its own code as the sub-code.
bool IsMenuHead(int id) {
    return id == 8 || id == 15 || id == 18 || id == 19 || id == 20 || id == 131 || id == 134;
}

std::wstring TextOf(const ButtonAssignment& entry) {
    return std::wstring(entry.Text.data(), wcsnlen(entry.Text.data(), entry.Text.size()));
}

void SetText(ButtonAssignment& entry, std::wstring_view text) {
    entry.Text.fill(L'\0');
    text.substr(0, entry.Text.size() - 1).copy(entry.Text.data(), entry.Text.size() - 1);
}

// One button, and no other, holds the left click: it may not lose it.
bool IsOnlyLeftClick(const SettingsRecord& record, int button) {
    if (record.ButtonAssigned[static_cast<size_t>(button)].FunctionCode !=
        ButtonFunctionCodes::kLeftClick) {
        return false;
    }
    return std::none_of(record.ButtonAssigned.begin(), record.ButtonAssigned.end(),
                        [&](const ButtonAssignment& entry) {
                            return &entry != &record.ButtonAssigned[static_cast<size_t>(button)] &&
                                   entry.FunctionCode == ButtonFunctionCodes::kLeftClick;
                        });
}
} // namespace

void CLucfgDlg::AssignFunctionToButton(const MenuChoice& choice) {
    // The dialogs write into the working profile: a profile the service switched to while they
    // asked would get the function. The switch waits, and follows the store.
    m_assigning = true;
    AssignChosenFunction(choice);
    m_assigning = false;
    if (std::exchange(m_autoProfileDeferred, false)) {
        OnDeviceEvent(15, 0);
    }
}

void CLucfgDlg::AssignChosenFunction(const MenuChoice& choice) {
    const int button = m_selectedButton;
    if (button < 0 || button >= kButtonCount) {
        return;
    }
    ButtonAssignment& entry = Working().ButtonAssigned[static_cast<size_t>(button)];
    const int code = choice.id;
    if (IsOnlyLeftClick(Working(), button)) {
        if (code != ButtonFunctionCodes::kLeftClick) {
            Warn(L"提示", m_language.ButtonPage(L"WARN3"));
        }
        return;
    }
    if (IsMenuHead(code)) {
        if (!AssignSubFunction(entry, button, choice.subId)) {
            return;
        }
    } else {
        switch (code) {
        case ButtonFunctionCodes::kSingleKey:
            AssignKeys(entry, button);
            break;
        case ButtonFunctionCodes::kMacro:
            // With nothing to pick the dialog could only store a macro that never plays: the
            // user is taken to where macros are made, and nothing is stored.
            if (MacroNames().empty()) {
                m_mainPage = kMacroPage;
                ShowPage(m_mainPage);
                return;
            }
            AssignMacroWithDialog(entry);
            break;
        case 9: {
            CXShoot dialog(this);
            if (dialog.SetTarget(Working(), button) && RunModal(dialog) == IDOK) {
                entry.FunctionCode = 9;
            }
            break;
        }
        case 118: {
            CLaunchApp dialog(this, L"指派程序开启", L"", L"");
            if (entry.FunctionCode == 118) {
                dialog.SetTarget(TextOf(entry));
            }
            if (RunModal(dialog) == IDOK) {
                entry.FunctionCode = 118;
                SetText(entry, dialog.Target());
            }
            break;
        }
        default:
            entry.FunctionCode = static_cast<std::uint8_t>(code);
            break;
        }
    }
    RefreshButtonCaptions();
    m_selectedButton = -1;
    StoreAndNotify(kButtonChanged, static_cast<WPARAM>(Working().Profile),
                   static_cast<LPARAM>(button));
}

bool CLucfgDlg::AssignSubFunction(ButtonAssignment& entry, int button, int subCode) {
    switch (subCode) {
    case ButtonFunctionCodes::kSingleKey: {
        // The dialog writes the entry itself: the key pressed (code 5), or the button off (7)
        // when it was confirmed without one.
        CKeyExDlg dialog(this);
        if (dialog.SetTarget(Working(), button)) {
            RunModal(dialog);
        }
        return true;
    }
    case ButtonFunctionCodes::kMacro:
        return AssignMacroFromMenu(entry);
    case 9: {
        CXShoot dialog(this);
        if (dialog.SetTarget(Working(), button) && RunModal(dialog) == IDOK) {
            entry.FunctionCode = 9;
        }
        return true;
    }
    case 15: {
        CDPIShift dialog(this);
        if (RunModal(dialog) == IDOK) {
            entry.FunctionCode = 15;
            entry.Param1 = static_cast<std::uint8_t>(dialog.Choice());
        }
        return true;
    }
    case 140: {
        CLaunchWWW dialog(this, L"打开网址", L"", L"");
        if (entry.FunctionCode == 140) {
            dialog.SetTarget(TextOf(entry));
        }
        if (RunModal(dialog) == IDOK) {
            entry.FunctionCode = 140;
            SetText(entry, dialog.Target());
        }
        return true;
    }
    case 141: {
        CLaunchDir dialog(this, L"打开目录", L"", L"");
        if (entry.FunctionCode == 141) {
            dialog.SetTarget(TextOf(entry));
        }
        if (RunModal(dialog) == IDOK) {
            entry.FunctionCode = 141;
            SetText(entry, dialog.Target());
        }
        return true;
    }
    default:
        entry.FunctionCode = static_cast<std::uint8_t>(subCode);
        return true;
    }
}

void CLucfgDlg::AssignKeys(ButtonAssignment& entry, int button) {
    CSingleKey dialog(this);
    const bool combination = entry.FunctionCode == ButtonFunctionCodes::kKeyCombination;
    dialog.SetKeys(combination ? SingleKeyCombination::kNoKey
                               : ButtonFunctionCodes::SingleKeyUsage(entry),
                   entry.Data, entry.Param2 / 2);
    const INT_PTR result = RunModal(dialog);
    // The dialog took the keyboard hook for itself: the window takes it back.
    m_hooks.InstallHook(Hwnd());
    if (result != IDOK) {
        return;
    }
    const int keys = dialog.KeyCount();
    if (keys == 1) {
        const std::uint8_t usage = dialog.MainKeyUsage() != SingleKeyCombination::kNoKey
                                       ? dialog.MainKeyUsage()
                                       : dialog.Events()[1];
        entry.Data.fill(0);
        entry.FunctionCode = ButtonFunctionCodes::kSingleKey;
        ButtonFunctionCodes::StoreSingleKey(entry, usage);
    } else if (keys >= 2 && keys <= 5) {
        entry.FunctionCode = ButtonFunctionCodes::kKeyCombination;
        entry.ButtonNumber = 1;
        entry.Param2 = static_cast<std::uint8_t>(keys * 2);
        entry.Data = dialog.StoredKeyData();
    } else {
        entry.FunctionCode = kDefaultCodes[static_cast<size_t>(button)];
    }
}

void CLucfgDlg::AssignMacroWithDialog(ButtonAssignment& entry) {
    CMacroSelDlg dialog(this, MacroNames());
    if (entry.FunctionCode == ButtonFunctionCodes::kMacro) {
        // A macro that left the list is not offered again: only how it was played is kept.
        const std::wstring held = TextOf(entry);
        const bool gone = !held.empty() && !ListedSpelling(MacroNames(), held);
        dialog.SetValues(entry.ButtonNumber, entry.Param1, gone ? 0 : entry.Param2);
        if (!gone) {
            dialog.SetMacroName(held);
        }
    }
    if (RunModal(dialog) != IDOK) {
        return;
    }
    entry.FunctionCode = ButtonFunctionCodes::kMacro;
    // Byte 0 is the play mode, byte 2 the repeat count, byte 3 the macro's place in the list of
    // names; the service finds the macro by the name in the text field.
    entry.ButtonNumber = static_cast<std::uint8_t>(dialog.Mode());
    entry.Param1 = static_cast<std::uint8_t>(dialog.Count());
    entry.Param2 = static_cast<std::uint8_t>(dialog.Slot());
    SetText(entry, dialog.MacroName());
}

void CLucfgDlg::FollowRenamedMacro(const std::wstring& oldName, MacroSlot oldSlot) {
    const std::wstring& newName = m_macros.Current();
    // The mouse finds the macro by its slot: a macro that moved is sent to its new one.
    if (m_macros.List().SlotOf(newName) != oldSlot) {
        SaveAndAnnounceMacro();
    }
    const MacroListPosition position = m_macros.List().FindMacroName(newName);
    for (size_t button = 0; button < Working().ButtonAssigned.size(); ++button) {
        ButtonAssignment& entry = Working().ButtonAssigned[button];
        if (entry.FunctionCode != ButtonFunctionCodes::kMacro ||
            !SameMacroName(TextOf(entry), oldName)) {
            continue;
        }
        SetText(entry, newName);
        entry.Param2 = static_cast<std::uint8_t>(position);
        StoreAndNotify(kButtonChanged, static_cast<WPARAM>(Working().Profile),
                       static_cast<LPARAM>(button));
    }
    RefreshButtonCaptions();
}

bool CLucfgDlg::AssignMacroFromMenu(ButtonAssignment& entry) {
    if (MacroNames().empty() || m_macros.Current().empty()) {
        m_mainPage = kMacroPage;
        ShowPage(m_mainPage);
        return false;
    }
    const MacroListPosition position = m_macros.List().FindMacroName(m_macros.Current());
    if (position == MacroListPosition::None) {
        return false;
    }
    int loops = 0;
    if (const auto file = MacroFile::ForName(m_paths.MacroFolder(), m_macros.Current())) {
        loops = file->ReadLoopTime();
    }
    // Played the number of times its file gives, found by its name.
    entry.FunctionCode = ButtonFunctionCodes::kMacro;
    entry.ButtonNumber = 0;
    entry.Param1 = static_cast<std::uint8_t>(std::clamp(loops, 0, 255));
    entry.Param2 = static_cast<std::uint8_t>(position);
    SetText(entry, m_macros.Current());
    return true;
}
