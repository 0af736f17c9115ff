#include "shared/codes/ButtonFunctionCodes.h"

#include <algorithm>
#include <array>

namespace {
using Keyword = ButtonFunctionCodes::Keyword;

constexpr std::array<Keyword, 70> kKeywords{{
    {1, L"CLICK"},
    {2, L"MENU"},
    {3, L"MIDDLE"},
    {4, L"DBCLICK"},
    {5, L"ASSIGNKEY"},
    {6, L"MACROCOMMAND"},
    {7, L"OFFBUTTON"},
    {9, L"XSHOOT"},
    {10, L"BUTTON4"},
    {11, L"BUTTON5"},
    {12, L"DPIUP"},
    {13, L"DPIDOWN"},
    {14, L"DPISWITCH"},
    {15, L"DPISHIFT"},
    {21, L"GAMEKEY"},
    {23, L"PROFILEUP"},
    {24, L"PROFILEDOWN"},
    {25, L"PROFILEFUN"},
    {32, L"PLAYPAUSE"},
    {33, L"STOP"},
    {34, L"PREVIOUS"},
    {35, L"NEXT"},
    {37, L"VOLUMEUP"},
    {38, L"VOLUMEDOWN"},
    {39, L"MUTE"},
    {40, L"OPENMEDIA"},
    {48, L"SCROLLUP"},
    {49, L"SCROLLDOWN"},
    {50, L"SCROLLLEFT"},
    {51, L"SCROLLRIGHT"},
    {64, L"CUT"},
    {65, L"COPY"},
    {66, L"PASTE"},
    {67, L"UNDO"},
    {68, L"SELECTALL"},
    {69, L"FIND"},
    {70, L"NEW"},
    {71, L"PRINT"},
    {72, L"SAVE"},
    {80, L"SWAP_WINDOWS"},
    {81, L"CLOSE_WINDOWS"},
    {82, L"LOCK_PC"},
    {83, L"OPEN_EXPLORER"},
    {84, L"RUN"},
    {85, L"SHOW_DESKTOP"},
    {96, L"DPIFUN"},
    {113, L"SHIFT1"},
    {114, L"SHIFT2"},
    {115, L"SHIFT3"},
    {116, L"SHIFT4"},
    {117, L"SHIFT5"},
    {118, L"LANGCH_APP"},
    {120, L"LANGCH_SELF"},
    {122, L"LANGCH_CALC"},
    {123, L"LANGCH_EMAIL"},
    {124, L"WWW_FAV"},
    {125, L"WWW_FORWARD"},
    {126, L"WWW_BACKWARD"},
    {127, L"WWW_STOP"},
    {128, L"WWW_REFRESH"},
    {130, L"WWW_HOME"},
    {132, L"PRINTSCEEN_ALL"},
    {133, L"PRINTSCEEN_TMP"},
    {135, L"WIN8_1"},
    {136, L"WIN8_2"},
    {137, L"WIN8_3"},
    {138, L"WIN8_4"},
    {139, L"OPEN_EXP"},
    {140, L"OPEN_WWW"},
    {141, L"OPEN_DIR"},
}};

constexpr std::uint8_t kKeyPress = 0x80;
} // namespace

std::span<const ButtonFunctionCodes::Keyword> ButtonFunctionCodes::Keywords() {
    return kKeywords;
}

std::wstring_view ButtonFunctionCodes::KeywordOf(std::uint8_t code) {
    const auto found = std::lower_bound(
        kKeywords.begin(), kKeywords.end(), code,
        [](const Keyword& entry, std::uint8_t wanted) { return entry.code < wanted; });
    if (found == kKeywords.end() || found->code != code) {
        return {};
    }
    return found->keyword;
}

void ButtonFunctionCodes::StoreSingleKey(ButtonAssignment& entry, std::uint8_t usage) {
    entry.Data.fill(0);
    entry.Data[0] = kKeyPress;
    entry.Data[1] = usage;
}
