#include "config/core/PopupMenus.h"

#include <array>
#include <span>

namespace {
struct KeywordId {
    const wchar_t* keyword;
    int id;
};

struct SubKeywordId {
    int head;
    const wchar_t* keyword;
    int id;
};

constexpr KeywordId kFunctionEntries[] = {
    {L"CLICK", 1},         {L"MENU", 2},
    {L"MIDDLE", 3},        {L"DBCLICK", 4},
    {L"BUTTON4", 10},      {L"BUTTON5", 11},
    {L"SCROLLUP", 48},     {L"SCROLLDOWN", 49},
    {L"DPIUP", 12},        {L"DPIDOWN", 13},
    {L"ASSIGNKEY", 5},     {L"MACROCOMMAND", 6},
    {L"OFFBUTTON", 7},     {L"LANGCH_APP", 118},
    {L"XSHOOT", 9},        {L"LANGCH_SELF", 120},
    {L"MEDIACOMMAND", 19}, {L"ADDITIONALCOMMAND", 20},
    {L"BASICCOMMAND", 18}, {L"ADVANCEDCOMMAND", 8},
    {L"PRINTSCEEN", 131},  {L"WIN8", 134},
};

constexpr SubKeywordId kFunctionSubEntries[] = {
    {16, L"OPENMEDIA", 40},
    {16, L"PREVIOUS", 34},
    {16, L"NEXT", 35},
    {16, L"PLAYPAUSE", 32},
    {16, L"STOP", 33},
    {16, L"MUTE", 39},
    {16, L"VOLUMEUP", 37},
    {16, L"VOLUMEDOWN", 38},
    {17, L"LANGCH_CALC", 122},
    {17, L"LANGCH_EMAIL", 123},
    {17, L"WWW_FAV", 124},
    {17, L"WWW_FORWARD", 125},
    {17, L"WWW_BACKWARD", 126},
    {17, L"WWW_STOP", 127},
    {17, L"WWW_REFRESH", 128},
    {17, L"WWW_HOME", 130},
    {17, L"OPEN_EXPLORER", 83},
    {18, L"COPY", 65},
    {18, L"CUT", 64},
    {18, L"PASTE", 66},
    {18, L"UNDO", 67},
    {18, L"FIND", 69},
    {18, L"SELECTALL", 68},
    {18, L"NEW", 70},
    {18, L"SAVE", 72},
    {19, L"SWAP_WINDOWS", 80},
    {19, L"CLOSE_WINDOWS", 81},
    {19, L"RUN", 84},
    {19, L"SHOW_DESKTOP", 85},
    {19, L"LOCK_PC", 82},
    {19, L"OPEN_EXP", 139},
    {19, L"OPEN_WWW", 140},
    {19, L"OPEN_DIR", 141},
    {20, L"PRINTSCEEN_ALL", 132},
    {20, L"PRINTSCEEN_TMP", 133},
    {21, L"WIN8_1", 135},
    {21, L"WIN8_2", 136},
    {21, L"WIN8_3", 137},
    {21, L"WIN8_4", 138},
};

constexpr KeywordId kInsertActionEntries[] = {
    {L"INSERTNEWACT", 40001},
    {L"COPYACT", 40002},
    {L"CUTACT", 40003},
    {L"PASTEACT", 40004},
};

constexpr int kFirstMouseButtonId = 40015;
constexpr KeywordId kMouseButtonEntries[] = {
    {L"CLICK", kFirstMouseButtonId},
    {L"MENU", kFirstMouseButtonId + 1},
    {L"MIDDLE", kFirstMouseButtonId + 2},
};

constexpr int kFirstRateId = 40024;
constexpr std::array<int, 4> kRateIntervals = {8, 4, 2, 1};
constexpr std::array<const wchar_t*, 4> kRateTexts = {L"125", L"250", L"500", L"1000"};

constexpr int kFirstLightingId = 40005;
constexpr int kLightingModes = 13;
constexpr int kLightingSlots = 4;
constexpr std::array<int, 4> kLowSlotModes = {1, 2, 3, 11};
constexpr std::array<int, 5> kHighSlotModes = {1, 2, 3, 13, 11};

constexpr int kFirstInsertModeId = 40028;
constexpr int kInsertModes = 4;

// Entry fonts of the lighting-mode and insert-mode menus.
constexpr int kSmallFont = 14;

PopupMenu::Pictures FourPictures(const wchar_t* normal, const wchar_t* highlighted) {
    return {normal, highlighted, highlighted, normal};
}

void AddEntries(PopupMenu& menu, std::span<const KeywordId> entries, const LanguageText& language) {
    for (const KeywordId& entry : entries) {
        menu.entries.push_back({entry.keyword, language.ButtonPage(entry.keyword), entry.id});
    }
}

void AddEntry(PopupMenu& menu, const std::wstring& keyword, int id, const LanguageText& language) {
    menu.entries.push_back({keyword, language.ButtonPage(keyword), id});
}
} // namespace

PopupMenu PopupMenus::ButtonFunction(const LanguageText& language) {
    PopupMenu menu;
    menu.kind = MenuKind::ButtonFunction;
    menu.style = 1;
    menu.pictures = FourPictures(L"Menu1_n.png", L"Menu1_d.png");
    menu.subPictures = menu.pictures;
    menu.openingOffset = 28;
    menu.fitToScreen = true;
    AddEntries(menu, kFunctionEntries, language);
    for (const SubKeywordId& entry : kFunctionSubEntries) {
        menu.subEntries.push_back(
            {entry.head, entry.keyword, language.ButtonPage(entry.keyword), entry.id});
    }
    return menu;
}

PopupMenu PopupMenus::PollingRate() {
    PopupMenu menu;
    menu.kind = MenuKind::PollingRate;
    menu.pictures = FourPictures(L"Menu2_n.png", L"Menu2_d.png");
    menu.openingOffset = 1;
    menu.fitToScreen = true;
    for (size_t i = 0; i < kRateTexts.size(); ++i) {
        menu.entries.push_back({L"", kRateTexts[i], kFirstRateId + static_cast<int>(i)});
    }
    return menu;
}

std::optional<PopupMenu> PopupMenus::LightingMode(int lightingSlot, const LanguageText& language) {
    if (lightingSlot < 0 || lightingSlot >= kLightingSlots) {
        return std::nullopt;
    }
    PopupMenu menu;
    menu.kind = MenuKind::LightingMode;
    menu.style = 3;
    menu.fontSize = kSmallFont;
    menu.pictures = FourPictures(L"Menu3_n.png", L"Menu3_d.png");
    menu.openingOffset = -1;
    const std::span<const int> modes = lightingSlot < 2 ? std::span<const int>(kLowSlotModes)
                                                        : std::span<const int>(kHighSlotModes);
    for (const int mode : modes) {
        AddEntry(menu, LightingModeKeyword(mode), kFirstLightingId - 1 + mode, language);
    }
    return menu;
}

PopupMenu PopupMenus::InsertMode(const LanguageText& language) {
    PopupMenu menu;
    menu.kind = MenuKind::InsertMode;
    menu.style = 4;
    menu.fontSize = kSmallFont;
    menu.pictures = FourPictures(L"Menu4_n.png", L"Menu4_d.png");
    menu.openingOffset = 1;
    for (int mode = 0; mode < kInsertModes; ++mode) {
        AddEntry(menu, InsertModeKeyword(mode), kFirstInsertModeId + mode, language);
    }
    return menu;
}

PopupMenu PopupMenus::InsertAction(const LanguageText& language) {
    PopupMenu menu;
    menu.kind = MenuKind::InsertAction;
    menu.pictures = {L"1menu_normal.png", L"1menu_over.png", L"1menu_down.png",
                     L"1menu_normal.png"};
    menu.openingOffset = -1;
    AddEntries(menu, kInsertActionEntries, language);
    return menu;
}

PopupMenu PopupMenus::MouseButton(const LanguageText& language) {
    PopupMenu menu;
    menu.kind = MenuKind::MouseButton;
    menu.pictures = {L"4menu_normal.png", L"1menu_over.png", L"1menu_down.png",
                     L"1menu_normal.png"};
    menu.openingOffset = -1;
    AddEntries(menu, kMouseButtonEntries, language);
    return menu;
}

std::optional<int> PopupMenus::LightingModeOfId(int id) {
    const int mode = id - kFirstLightingId + 1;
    if (mode < 1 || mode > kLightingModes) {
        return std::nullopt;
    }
    return mode;
}

std::wstring PopupMenus::LightingModeKeyword(int mode) {
    return L"LEDMODE" + std::to_wstring(mode);
}

std::int32_t* PopupMenus::LightingModeOfSlot(SettingsRecord& record, int lightingSlot) {
    switch (lightingSlot) {
    case 0:
        return &record.LedMode;
    case 1:
        return &record.LedMode2;
    case 2:
        return &record.LedMode3;
    case 3:
        return &record.LedMode4;
    default:
        return nullptr;
    }
}

std::optional<int> PopupMenus::InsertModeOfId(int id) {
    const int mode = id - kFirstInsertModeId;
    if (mode < 0 || mode >= kInsertModes) {
        return std::nullopt;
    }
    return mode;
}

std::wstring PopupMenus::InsertModeKeyword(int mode) {
    return L"ADDMACRO" + std::to_wstring(mode + 1);
}

std::optional<int> PopupMenus::InsertModeOfCaption(std::wstring_view caption,
                                                   const LanguageText& language) {
    for (int mode = 0; mode < kInsertModes; ++mode) {
        const std::wstring& text = language.ButtonPage(InsertModeKeyword(mode));
        // A missing text names no mode: every empty caption would read as the first.
        if (!text.empty() && text == caption) {
            return mode;
        }
    }
    return std::nullopt;
}

std::optional<int> PopupMenus::PollingIntervalOfId(int id) {
    const int index = id - kFirstRateId;
    if (index < 0 || index >= static_cast<int>(kRateIntervals.size())) {
        return std::nullopt;
    }
    return kRateIntervals[static_cast<size_t>(index)];
}

std::optional<int> PopupMenus::MouseButtonOfId(int id) {
    const int button = id - kFirstMouseButtonId + 1;
    if (button < 1 || button > static_cast<int>(std::size(kMouseButtonEntries))) {
        return std::nullopt;
    }
    return button;
}
