#include "config/dialogs/KeyEx/KeyExAssignment.h"

#include "shared/codes/CodeTables.h"
#include "winlayer/Format.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwctype>

namespace KeyExAssignment {

namespace {
constexpr std::uint8_t kFunctionAssignKey = 5;
constexpr std::uint8_t kFunctionOff = 7;
constexpr std::uint8_t kPressFlag = 0x80;
constexpr std::uint8_t kDelayBits = 0x7F;
// The dialog takes one key.
constexpr std::size_t kMaxEntryEvents = 1;

struct FixedName {
    std::uint32_t key;
    const wchar_t* name;
};
constexpr std::array<FixedName, 40> kFixedNames = {{
    {8, L"Backspace"}, {9, L"Tab"},     {12, L"Clear"},    {13, L"Enter"},    {16, L"Shift"},
    {17, L"Ctrl"},     {18, L"Alt"},    {19, L"Pause"},    {20, L"CapsLock"}, {27, L"Esc"},
    {32, L"Space"},    {33, L"PageUp"}, {34, L"PageDown"}, {35, L"End"},      {36, L"Home"},
    {37, L"Left"},     {38, L"Up"},     {39, L"Right"},    {40, L"Down"},     {41, L"Select"},
    {42, L"Print"},    {43, L"Exe"},    {44, L"Snapshot"}, {45, L"Ins"},      {46, L"Del"},
    {47, L"Help"},     {106, L"Num*"},  {107, L"Num+"},    {108, L"Enter"},   {109, L"Num-"},
    {110, L"Num."},    {111, L"Num/"},  {144, L"Numl"},    {145, L"Scrl"},    {160, L"LShift"},
    {161, L"RShift"},  {162, L"LCtrl"}, {163, L"RCtrl"},   {164, L"LAlt"},    {165, L"RAlt"},
}};

std::wstring CharacterName(std::uint32_t virtualKey, bool capsHeld) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const std::array<BYTE, 256> state{};
    WORD chars = 0;
    if (ToAscii(virtualKey, scan, state.data(), &chars, 0) <= 0) {
        return {};
    }
    const auto c = static_cast<wchar_t>(chars & 0xFF);
    if (c == 0) {
        return {};
    }
    return std::wstring(1, capsHeld ? static_cast<wchar_t>(std::towupper(c))
                                    : static_cast<wchar_t>(std::towlower(c)));
}
} // namespace

std::wstring KeyName(std::uint32_t virtualKey, bool capsHeld) {
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
        return L"Num" + std::to_wstring(virtualKey - VK_NUMPAD0);
    }
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12) {
        return L"F" + std::to_wstring(virtualKey - VK_F1 + 1);
    }
    for (const FixedName& fixed : kFixedNames) {
        if (fixed.key == virtualKey) {
            return fixed.name;
        }
    }
    return CharacterName(virtualKey, capsHeld);
}

std::wstring DisplayText(std::span<const KeyEvent> events, bool capsHeld) {
    std::wstring text;
    for (const KeyEvent& event : events) {
        if (event.action != KeyEventRecorder::kDown) {
            continue;
        }
        text += KeyName(event.key, capsHeld);
        if (event.extra != 0) {
            text += winlayer::Format(L"(%dms)", static_cast<int>(event.extra * 2));
        }
        text += L' ';
    }
    return text;
}

std::vector<KeyEvent> ReadEntry(const ButtonAssignment& entry) {
    std::vector<KeyEvent> events;
    const std::size_t count = entry.Param2;
    if (entry.FunctionCode != kFunctionAssignKey || count > kMaxEntryEvents) {
        return events;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t flags = entry.Data[2 * i];
        std::uint32_t virtualKey = 0;
        KeyCodeMap_LookupReverse(entry.Data[2 * i + 1], virtualKey);
        events.push_back(
            {virtualKey,
             (flags & kPressFlag) != 0 ? KeyEventRecorder::kDown : KeyEventRecorder::kUp,
             static_cast<std::uint32_t>(flags & kDelayBits)});
    }
    return events;
}

void WriteEntry(std::span<const KeyEvent> events, ButtonAssignment& entry) {
    const std::size_t count = std::min(events.size(), entry.Data.size() / 2);
    entry.FunctionCode = count != 0 ? kFunctionAssignKey : kFunctionOff;
    entry.Param1 = 1;
    entry.Param2 = static_cast<std::uint8_t>(count);
    entry.Data.fill(0);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t usage = 0;
        KeyCodeMap_LookupForward(events[i].key, usage);
        const std::uint8_t delay = static_cast<std::uint8_t>(events[i].extra & kDelayBits);
        entry.Data[2 * i] = events[i].action == KeyEventRecorder::kDown
                                ? static_cast<std::uint8_t>(kPressFlag | delay)
                                : delay;
        entry.Data[2 * i + 1] = static_cast<std::uint8_t>(usage);
    }
}

} // namespace KeyExAssignment
