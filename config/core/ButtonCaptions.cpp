#include "config/core/ButtonCaptions.h"

#include "config/core/KeyPositionNames.h"
#include "config/core/MacroList.h"
#include "shared/codes/ButtonFunctionCodes.h"
#include "shared/codes/CodeTables.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace {
// Key events are two bytes (press flag, usage id); the usage ids of the first ten events.
constexpr size_t kCountedEvents = 10;
// A combination is held as presses of up to five keys followed by their releases.
constexpr size_t kPressedKeys = 5;

struct VirtualKeyName {
    std::uint32_t virtualKey;
    const wchar_t* name;
};

constexpr VirtualKeyName kVirtualKeyNames[] = {
    {8, L"Backspace"}, {9, L"Tab"},       {12, L"Clear"},  {13, L"Enter"},    {108, L"Enter"},
    {16, L"Shift"},    {17, L"Ctrl"},     {18, L"Alt"},    {19, L"Pause"},    {20, L"CapsLock"},
    {27, L"Esc"},      {32, L"Space"},    {33, L"PageUp"}, {34, L"PageDown"}, {35, L"End"},
    {36, L"Home"},     {37, L"Left"},     {38, L"Up"},     {39, L"Right"},    {40, L"Down"},
    {41, L"Select"},   {42, L"Print"},    {43, L"Exe"},    {44, L"PrtScr"},   {45, L"Ins"},
    {46, L"Del"},      {47, L"Help"},     {91, L"Win"},    {92, L"Win"},      {96, L"Num0"},
    {97, L"Num1"},     {98, L"Num2"},     {99, L"Num3"},   {100, L"Num4"},    {101, L"Num5"},
    {102, L"Num6"},    {103, L"Num7"},    {104, L"Num8"},  {105, L"Num9"},    {106, L"Num*"},
    {107, L"Num+"},    {109, L"Num-"},    {110, L"Num."},  {111, L"Num/"},    {112, L"F1"},
    {113, L"F2"},      {114, L"F3"},      {115, L"F4"},    {116, L"F5"},      {117, L"F6"},
    {118, L"F7"},      {119, L"F8"},      {120, L"F9"},    {121, L"F10"},     {122, L"F11"},
    {123, L"F12"},     {144, L"Numlock"}, {145, L"Scrl"},  {160, L"LShift"},  {161, L"RShift"},
    {162, L"LCtrl"},   {163, L"RCtrl"},   {164, L"LAlt"},  {165, L"RAlt"},
};

// The character the keyboard layout gives the key unshifted, in upper case.
std::wstring CharacterOf(std::uint32_t virtualKey) {
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    BYTE state[256] = {};
    WORD translated = 0;
    if (ToAscii(virtualKey, scanCode, state, &translated, 0) == 0) {
        return {};
    }
    const auto character = static_cast<wchar_t>(translated & 0xFF);
    return std::wstring(1, static_cast<wchar_t>(std::towupper(character)));
}

std::wstring MacroCaption(const ButtonAssignment& entry, std::span<const std::wstring> macroNames,
                          const LanguageText& language,
                          std::optional<ButtonAssignment>& changedEntry) {
    if (macroNames.empty()) {
        // Nothing to play: the button reads as one whose macro left the list, off.
        return language.ButtonPage(L"OFFBUTTON");
    }
    // The service plays the macro the entry names, wherever the list holds it now.
    const std::wstring entryName(entry.Text.data(), wcsnlen(entry.Text.data(), entry.Text.size()));
    if (std::optional<std::wstring> listed = ListedSpelling(macroNames, entryName)) {
        return *std::move(listed);
    }
    if (entry.Param2 >= macroNames.size()) {
        // The macro no longer exists.
        ButtonAssignment off = entry;
        off.FunctionCode = ButtonFunctionCodes::kOff;
        changedEntry = off;
        return language.ButtonPage(L"OFFBUTTON");
    }
    if (!entryName.empty()) {
        // A macro that left the list plays nothing, and the button never takes on the macro that
        // came to its place in the list.
        return language.ButtonPage(L"OFFBUTTON");
    }
    const std::wstring& name = macroNames[entry.Param2];
    std::array<wchar_t, 260> text{};
    std::copy_n(name.begin(), std::min(name.size(), text.size() - 1), text.begin());
    if (text != entry.Text) {
        ButtonAssignment named = entry;
        named.Text = text;
        changedEntry = named;
    }
    return name;
}
} // namespace

std::wstring ButtonCaptions::SingleKeyCaption(std::uint8_t usage) {
    std::uint32_t virtualKey = 0;
    if (!KeyCodeMap_LookupReverse(usage, virtualKey)) {
        return L"key";
    }
    for (const VirtualKeyName& known : kVirtualKeyNames) {
        if (known.virtualKey == virtualKey) {
            return known.name;
        }
    }
    return CharacterOf(virtualKey);
}

std::wstring ButtonCaptions::CombinationCaption(const std::array<std::uint8_t, 120>& keyData,
                                                const LanguageText& language) {
    size_t keyCodes = 0;
    std::uint8_t firstUsage = 0;
    for (size_t i = 0; i < kCountedEvents; ++i) {
        const std::uint8_t usage = keyData[2 * i + 1];
        if (usage != 0) {
            ++keyCodes;
            if (firstUsage == 0) {
                firstUsage = usage;
            }
        }
    }
    // Each key is a press and a release event.
    if (keyCodes / 2 <= 1) {
        return KeyPositionNames::NameOfUsage(firstUsage, KeyNameCase::Upper, language);
    }

    bool shift = false;
    bool ctrl = false;
    bool win = false;
    bool alt = false;
    std::uint32_t mainKey = 0;
    for (size_t i = 0; i < kPressedKeys; ++i) {
        std::uint32_t virtualKey = 0;
        const std::uint8_t usage = keyData[2 * i + 1];
        if (usage == 0 || !KeyCodeMap_LookupReverse(usage, virtualKey)) {
            continue;
        }
        switch (virtualKey) {
        case VK_LSHIFT:
            shift = true;
            break;
        case VK_LCONTROL:
            ctrl = true;
            break;
        case VK_LWIN:
            win = true;
            break;
        case VK_LMENU:
            alt = true;
            break;
        default:
            // Right-hand modifiers count as main keys too.
            mainKey = virtualKey;
            break;
        }
    }

    std::wstring caption;
    const auto add = [&](bool present, std::uint32_t virtualKey) {
        if (!present) {
            return;
        }
        const std::wstring name =
            KeyPositionNames::NameOfVirtualKey(virtualKey, KeyNameCase::Upper, language);
        if (name.empty()) {
            return;
        }
        if (!caption.empty()) {
            caption += L" + ";
        }
        caption += name;
    };
    add(shift, VK_LSHIFT);
    add(ctrl, VK_LCONTROL);
    add(win, VK_LWIN);
    add(alt, VK_LMENU);
    add(mainKey != 0, mainKey);
    return caption;
}

ButtonCaptions::Caption ButtonCaptions::Of(const ButtonAssignment& entry,
                                           std::span<const std::wstring> macroNames,
                                           const LanguageText& language) {
    Caption caption;
    switch (entry.FunctionCode) {
    case ButtonFunctionCodes::kSingleKey:
        caption.text = SingleKeyCaption(ButtonFunctionCodes::SingleKeyUsage(entry));
        break;
    case ButtonFunctionCodes::kMacro:
        caption.text = MacroCaption(entry, macroNames, language, caption.changedEntry);
        break;
    case ButtonFunctionCodes::kKeyCombination:
        caption.text = CombinationCaption(entry.Data, language);
        break;
    case ButtonFunctionCodes::kF11:
        caption.text = L"F11";
        break;
    case ButtonFunctionCodes::kF12:
        caption.text = L"F12";
        break;
    default:
        if (const auto keyword = ButtonFunctionCodes::KeywordOf(entry.FunctionCode);
            !keyword.empty()) {
            caption.text = language.ButtonPage(keyword);
        }
        break;
    }
    return caption;
}

std::array<std::wstring, kButtonCount>
ButtonCaptions::Refresh(SettingsRecord& record, std::span<const std::wstring> macroNames,
                        const LanguageText& language) {
    std::array<std::wstring, kButtonCount> captions;
    // The record holds one profile block: the current profile's entries are always these.
    for (size_t i = 0; i < captions.size(); ++i) {
        Caption caption = Of(record.ButtonAssigned[i], macroNames, language);
        if (caption.changedEntry) {
            record.ButtonAssigned[i] = *caption.changedEntry;
        }
        captions[i] = std::move(caption.text);
    }
    return captions;
}
