#include "config/core/KeyPositionNames.h"

#include "shared/codes/CodeTables.h"

#include <array>
#include <string_view>

namespace {
constexpr std::uint8_t kLastPosition = 245;

struct PositionName {
    std::uint8_t position;
    const wchar_t* name;
};

// Positions 1, 2 and 4 (the mouse buttons) are language texts and absent here.
constexpr PositionName kFixedNames[] = {
    {16, L"~"},
    {17, L"1"},
    {18, L"Q"},
    {19, L"TAB"},
    {20, L"A"},
    {21, L"ESC"},
    {22, L"Z"},
    {23, L"(MuHenkan)"},
    {24, L"F1"},
    {25, L"2"},
    {26, L"W"},
    {27, L"Caps Lock"},
    {28, L"S"},
    {30, L"X"},
    {32, L"F2"},
    {33, L"3"},
    {34, L"E"},
    {35, L"F3"},
    {36, L"D"},
    {37, L"F4"},
    {38, L"C"},
    {39, L"Hanguel(Korean)"},
    {40, L"5"},
    {41, L"4"},
    {42, L"R"},
    {43, L"T"},
    {44, L"F"},
    {45, L"G"},
    {46, L"V"},
    {47, L"B"},
    {48, L"6"},
    {49, L"7"},
    {50, L"U"},
    {51, L"Y"},
    {52, L"J"},
    {53, L"H"},
    {54, L"M"},
    {55, L"N"},
    {56, L"="},
    {57, L"8"},
    {58, L"I"},
    {59, L"]"},
    {60, L"K"},
    {61, L"F6"},
    {62, L","},
    {63, L"`(Dos/v)"},
    {64, L"F8"},
    {65, L"9"},
    {66, L"O"},
    {67, L"F7"},
    {68, L"L"},
    {69, L"Henkan(Dos/v)"},
    {70, L"."},
    {71, L"Katakana(Dos/v)"},
    {72, L"-"},
    {73, L"0"},
    {74, L"P"},
    {75, L"["},
    {76, L";"},
    {77, L"'"},
    {78, L"$/}(102W)"},
    {79, L"/"},
    {80, L"F9"},
    {81, L"F10"},
    {82, L"V-(Dos/v)"},
    {83, L"Backspace"},
    {84, L"\\"},
    {85, L"F5"},
    {86, L"Enter"},
    {87, L"Space Bar"},
    {88, L"Insert"},
    {89, L"F12"},
    {90, L"Num 8"},
    {91, L"Num 5"},
    {92, L"Num 2"},
    {93, L"Num 0"},
    {94, L"Num /"},
    {95, L"Right"},
    {96, L"Delete"},
    {97, L"F11"},
    {98, L"Num 7"},
    {99, L"Num 4"},
    {100, L"Num 1"},
    {101, L"NA"},
    {102, L"Num Lock"},
    {103, L"Down"},
    {104, L"Pageup"},
    {105, L"Pagedown"},
    {106, L"Num 9"},
    {107, L"Num 6"},
    {108, L"Num 3"},
    {109, L"Num del"},
    {110, L"Num *"},
    {111, L"Num -"},
    {112, L"Home"},
    {113, L"End"},
    {114, L"Num +"},
    {115, L"NA"},
    {116, L"Num Enter"},
    {117, L"Up"},
    {118, L"Pause/Break"},
    {119, L"Left"},
    {120, L"NA"},
    {121, L"Scroll Lock"},
    {122, L"PrtScr"},
    {123, L"NA"},
    {124, L"NA"},
    {125, L"Alt"},
    {127, L"Right Alt"},
    {131, L"Shift"},
    {134, L"Right Shift"},
    {135, L"Profile"},
    {136, L"Ctrl"},
    {142, L"Right Ctrl"},
    {143, L"Mute"},
    {154, L"Application"},
    {156, L"Win"},
    {244, L"Left Windows"},
    {245, L"Right Windows"},
};

constexpr std::array<const wchar_t*, kLastPosition + 1> MakeTable() {
    std::array<const wchar_t*, kLastPosition + 1> table{};
    for (const PositionName& entry : kFixedNames) {
        table[entry.position] = entry.name;
    }
    return table;
}

constexpr std::array<const wchar_t*, kLastPosition + 1> kNames = MakeTable();

std::wstring_view MouseButtonKeyword(std::uint8_t position) {
    switch (position) {
    case 1:
        return L"CLICK";
    case 2:
        return L"MENU";
    case 4:
        return L"MIDDLE";
    default:
        return {};
    }
}

// Letter keys are the only one-letter names; the lower-case table differs from the upper-case
// one in these alone.
std::wstring InCase(const wchar_t* name, KeyNameCase letterCase) {
    std::wstring text = name == nullptr ? std::wstring() : std::wstring(name);
    if (letterCase == KeyNameCase::Lower && text.size() == 1 && text[0] >= L'A' &&
        text[0] <= L'Z') {
        text[0] = static_cast<wchar_t>(text[0] - L'A' + L'a');
    }
    return text;
}

std::uint8_t PositionOfUsage(std::uint8_t usage) {
    std::uint32_t virtualKey = 0;
    if (!KeyCodeMap_LookupReverse(usage, virtualKey)) {
        return 0;
    }
    const std::uint32_t position = CodePairTable_Lookup(virtualKey);
    return position <= kLastPosition ? static_cast<std::uint8_t>(position) : 0;
}
} // namespace

std::wstring KeyPositionNames::Name(std::uint8_t position, KeyNameCase letterCase,
                                    const LanguageText& language) {
    if (position == 0 || position > kLastPosition) {
        return {};
    }
    if (const std::wstring_view keyword = MouseButtonKeyword(position); !keyword.empty()) {
        return language.ButtonPage(keyword);
    }
    return InCase(kNames[position], letterCase);
}

std::wstring KeyPositionNames::NameOfUsage(std::uint8_t usage, KeyNameCase letterCase,
                                           const LanguageText& language) {
    return Name(PositionOfUsage(usage), letterCase, language);
}

std::wstring KeyPositionNames::NameOfVirtualKey(std::uint32_t virtualKey, KeyNameCase letterCase,
                                                const LanguageText& language) {
    const std::uint32_t position = CodePairTable_Lookup(virtualKey);
    if (position > kLastPosition) {
        return {};
    }
    return Name(static_cast<std::uint8_t>(position), letterCase, language);
}

std::wstring KeyPositionNames::SingleKeyName(std::uint8_t position, KeyNameCase letterCase) {
    switch (position) {
    case 1:
    case 2:
    case 4:
        return {};
    case 125:
        return L"LAlt";
    case 131:
        return L"LShift";
    case 136:
        return L"LCtrl";
    case 240:
        return letterCase == KeyNameCase::Upper ? L"Left Button" : L"";
    case 241:
        return letterCase == KeyNameCase::Upper ? L"Right Button" : L"";
    case 242:
        return letterCase == KeyNameCase::Upper ? L"Middle Button" : L"";
    default:
        break;
    }
    if (position > kLastPosition) {
        return {};
    }
    return InCase(kNames[position], letterCase);
}

std::wstring KeyPositionNames::SingleKeyNameOfUsage(std::uint8_t usage, KeyNameCase letterCase) {
    return SingleKeyName(PositionOfUsage(usage), letterCase);
}
