#include "config/core/PopupMenus.h"

#include "shared/codes/ButtonFunctionCodes.h"
#include "tests/config/core/ButtonPageTexts.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
const ButtonPageTexts& Texts() {
    static const ButtonPageTexts texts([] {
        std::vector<std::wstring> keywords{L"MEDIACOMMAND", L"WIN8",      L"PLAYPAUSE", L"COPYACT",
                                           L"ADDMACRO1",    L"ADDMACRO4", L"CLICK"};
        for (int mode = 1; mode <= 13; ++mode) {
            keywords.push_back(L"LEDMODE" + std::to_wstring(mode));
        }
        return keywords;
    }());
    return texts;
}

std::vector<int> Ids(const PopupMenu& menu) {
    std::vector<int> ids;
    for (const auto& entry : menu.entries) {
        ids.push_back(entry.id);
    }
    return ids;
}

PopupMenu LightingMenu(int slot) {
    return PopupMenus::LightingMode(slot, Texts().Language()).value();
}
} // namespace

TEST(PopupMenus, ButtonFunctionEntries) {
    const PopupMenu menu = PopupMenus::ButtonFunction(Texts().Language());
    ASSERT_EQ(22u, menu.entries.size());
    ASSERT_EQ(39u, menu.subEntries.size());
    struct Row {
        size_t position;
        const wchar_t* keyword;
        int id;
    };
    for (const Row& row : {Row{0, L"CLICK", 1}, Row{4, L"BUTTON4", 10}, Row{10, L"ASSIGNKEY", 5},
                           Row{13, L"LANGCH_APP", 118}, Row{16, L"MEDIACOMMAND", 19},
                           Row{19, L"ADVANCEDCOMMAND", 8}, Row{21, L"WIN8", 134}}) {
        EXPECT_EQ(row.keyword, menu.entries[row.position].keyword);
        EXPECT_EQ(row.id, menu.entries[row.position].id);
    }
    for (size_t position = 0; position < 16; ++position) {
        const auto& entry = menu.entries[position];
        EXPECT_EQ(entry.keyword,
                  ButtonFunctionCodes::KeywordOf(static_cast<std::uint8_t>(entry.id)));
    }
    EXPECT_EQ(L"[MEDIACOMMAND]", menu.entries[16].text);
    // A missing text leaves an empty entry that keeps its id.
    EXPECT_EQ(L"", menu.entries[19].text);

    std::vector<size_t> perHead(22);
    for (const auto& sub : menu.subEntries) {
        ++perHead[static_cast<size_t>(sub.head)];
        // A sub-entry's id is the function code of its keyword.
        EXPECT_EQ(sub.keyword, ButtonFunctionCodes::KeywordOf(static_cast<std::uint8_t>(sub.id)));
    }
    EXPECT_EQ((std::vector<size_t>{8, 9, 8, 8, 2, 4}),
              std::vector<size_t>(perHead.begin() + 16, perHead.end()));
    EXPECT_EQ(L"PLAYPAUSE", menu.subEntries[3].keyword);
    EXPECT_EQ(L"[PLAYPAUSE]", menu.subEntries[3].text);
}

TEST(PopupMenus, LayoutPicturesAndOpeningOfEachMenu) {
    struct Row {
        PopupMenu menu;
        MenuKind kind;
        int style;
        int fontSize;
        const wchar_t* firstPicture;
        const wchar_t* secondPicture;
        int offset;
        bool fit;
        size_t entries;
    };
    const auto& language = Texts().Language();
    const Row rows[] = {{PopupMenus::ButtonFunction(language), MenuKind::ButtonFunction, 1, 0,
                         L"Menu1_n.png", L"Menu1_d.png", 28, true, 22},
                        {PopupMenus::PollingRate(), MenuKind::PollingRate, 0, 0, L"Menu2_n.png",
                         L"Menu2_d.png", 1, true, 4},
                        {LightingMenu(0), MenuKind::LightingMode, 3, 14, L"Menu3_n.png",
                         L"Menu3_d.png", -1, false, 4},
                        {PopupMenus::InsertMode(language), MenuKind::InsertMode, 4, 14,
                         L"Menu4_n.png", L"Menu4_d.png", 1, false, 4},
                        {PopupMenus::InsertAction(language), MenuKind::InsertAction, 0, 0,
                         L"1menu_normal.png", L"1menu_over.png", -1, false, 4},
                        {PopupMenus::MouseButton(language), MenuKind::MouseButton, 0, 0,
                         L"4menu_normal.png", L"1menu_over.png", -1, false, 3}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.kind, row.menu.kind);
        EXPECT_EQ(row.style, row.menu.style);
        EXPECT_EQ(row.fontSize, row.menu.fontSize);
        EXPECT_EQ(row.firstPicture, row.menu.pictures[0]);
        EXPECT_EQ(row.secondPicture, row.menu.pictures[1]);
        EXPECT_EQ(row.offset, row.menu.OpeningPoint({100, 50, 200, 80}).x - 100);
        EXPECT_EQ(80, row.menu.OpeningPoint({100, 50, 200, 80}).y);
        EXPECT_EQ(row.fit, row.menu.fitToScreen);
        EXPECT_EQ(row.entries, row.menu.entries.size());
        EXPECT_EQ(row.kind == MenuKind::ButtonFunction, row.menu.subPictures.has_value());
    }
    EXPECT_EQ(L"1000", PopupMenus::PollingRate().entries[3].text);
    EXPECT_EQ(L"[COPYACT]", PopupMenus::InsertAction(language).entries[1].text);
    EXPECT_EQ((std::vector<int>{40001, 40002, 40003, 40004}),
              Ids(PopupMenus::InsertAction(language)));
    EXPECT_EQ((std::vector<int>{40015, 40016, 40017}), Ids(PopupMenus::MouseButton(language)));
    EXPECT_EQ((std::vector<int>{40024, 40025, 40026, 40027}), Ids(PopupMenus::PollingRate()));
    EXPECT_EQ((std::vector<int>{40028, 40029, 40030, 40031}),
              Ids(PopupMenus::InsertMode(language)));
}

TEST(PopupMenus, LightingEntriesBySlot) {
    struct Row {
        int slot;
        std::vector<int> ids;
    };
    const Row rows[] = {{0, {40005, 40006, 40007, 40015}},
                        {1, {40005, 40006, 40007, 40015}},
                        {2, {40005, 40006, 40007, 40017, 40015}},
                        {3, {40005, 40006, 40007, 40017, 40015}}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.ids, Ids(LightingMenu(row.slot))) << row.slot;
    }
    EXPECT_EQ(L"[LEDMODE13]", LightingMenu(3).entries[3].text);
    EXPECT_EQ(L"LEDMODE11", LightingMenu(0).entries[3].keyword);
    for (const int slot : {-1, 4, 100}) {
        EXPECT_FALSE(PopupMenus::LightingMode(slot, Texts().Language()).has_value()) << slot;
    }
}

TEST(PopupMenus, ChoicesAreReadByTheMenuThatIsOpen) {
    const auto& language = Texts().Language();
    const PopupMenu functions = PopupMenus::ButtonFunction(language);
    const PopupMenu mouseButtons = PopupMenus::MouseButton(language);
    const PopupMenu insertActions = PopupMenus::InsertAction(language);
    const PopupMenu lowLighting = LightingMenu(0);
    const PopupMenu highLighting = LightingMenu(2);

    // A choice as the menu posts it: the entry's position and id in the high words, a
    // sub-entry's position and id in the low words. "PLAYPAUSE" (32) is sub-entry 3 of head 16
    // (19).
    const auto posted = [](int position, int id, int subPosition = 0, int subId = 0) {
        return std::pair{static_cast<WPARAM>(MAKELONG(subPosition, position)),
                         static_cast<LPARAM>(MAKELONG(subId, id))};
    };
    const auto [playWParam, playLParam] = posted(16, 19, 3, 32);

    struct Row {
        const PopupMenu* open;
        WPARAM wParam;
        LPARAM lParam;
        bool accepted;
        int chosenId;
    };
    const auto [clickW, clickL] = posted(0, 1);
    const auto [offW, offL] = posted(12, 7);
    const auto [leftW, leftL] = posted(0, 40015);
    const auto [mode11W, mode11L] = posted(3, 40015);
    const auto [mode13W, mode13L] = posted(3, 40017);
    const auto [pasteW, pasteL] = posted(3, 40004);
    const auto [headW, headL] = posted(16, 19);
    const auto [pastEndW, pastEndL] = posted(22, 1);
    const auto [otherSubW, otherSubL] = posted(16, 19, 8, 32);
    const auto [otherIdW, otherIdL] = posted(16, 19, 3, 33);
    const Row rows[] = {
        {&functions, playWParam, playLParam, true, 32},
        {&functions, clickW, clickL, true, 1},
        {&functions, offW, offL, true, 7},
        // Positions or ids that are not the open menu's.
        {&functions, clickW, offL, false, 0},
        {&functions, pastEndW, pastEndL, false, 0},
        {&functions, headW, headL, false, 0},
        {&functions, otherSubW, otherSubL, false, 0},
        {&functions, otherIdW, otherIdL, false, 0},
        {&functions, clickW | 1, clickL, false, 0},
        // The same ids in the lighting-mode and mouse-button menus.
        {&mouseButtons, leftW, leftL, true, 40015},
        {&lowLighting, leftW, leftL, false, 0},
        {&insertActions, leftW, leftL, false, 0},
        {&lowLighting, mode11W, mode11L, true, 40015},
        {&lowLighting, mode13W, mode13L, false, 0},
        {&highLighting, mode13W, mode13L, true, 40017},
        {&insertActions, pasteW, pasteL, true, 40004},
        {&mouseButtons, pasteW, pasteL, false, 0},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const auto choice = row.open->Decode(row.wParam, row.lParam);
        ASSERT_EQ(row.accepted, choice.has_value()) << "row " << i;
        if (choice) {
            EXPECT_EQ(row.open->kind, choice->kind);
            EXPECT_EQ(row.chosenId, choice->ChosenId()) << "row " << i;
        }
    }
    const auto play = functions.Decode(playWParam, playLParam).value();
    EXPECT_EQ(16, play.position);
    EXPECT_EQ(19, play.id);
    EXPECT_EQ(3, play.subPosition.value());
}

TEST(PopupMenus, WhatIdsAndCaptionsStandFor) {
    struct Row {
        std::optional<int> (*map)(int);
        int id;
        std::optional<int> value;
    };
    const Row rows[] = {{PopupMenus::LightingModeOfId, 40004, std::nullopt},
                        {PopupMenus::LightingModeOfId, 40005, 1},
                        {PopupMenus::LightingModeOfId, 40017, 13},
                        {PopupMenus::LightingModeOfId, 40018, std::nullopt},
                        {PopupMenus::InsertModeOfId, 40027, std::nullopt},
                        {PopupMenus::InsertModeOfId, 40028, 0},
                        {PopupMenus::InsertModeOfId, 40031, 3},
                        {PopupMenus::InsertModeOfId, 40032, std::nullopt},
                        {PopupMenus::PollingIntervalOfId, 40023, std::nullopt},
                        {PopupMenus::PollingIntervalOfId, 40024, 8},
                        {PopupMenus::PollingIntervalOfId, 40027, 1},
                        {PopupMenus::PollingIntervalOfId, 40028, std::nullopt},
                        {PopupMenus::MouseButtonOfId, 40014, std::nullopt},
                        {PopupMenus::MouseButtonOfId, 40015, 1},
                        {PopupMenus::MouseButtonOfId, 40017, 3},
                        {PopupMenus::MouseButtonOfId, 40018, std::nullopt}};
    for (const Row& row : rows) {
        EXPECT_EQ(row.value, row.map(row.id)) << row.id;
    }

    struct CaptionRow {
        const wchar_t* caption;
        std::optional<int> mode;
    };
    // "ADDMACRO2" and "ADDMACRO3" have no text in this language file.
    for (const CaptionRow& row :
         {CaptionRow{L"[ADDMACRO1]", 0}, CaptionRow{L"[ADDMACRO4]", 3},
          CaptionRow{L"[ADDMACRO2]", std::nullopt}, CaptionRow{L"", std::nullopt}}) {
        EXPECT_EQ(row.mode, PopupMenus::InsertModeOfCaption(row.caption, Texts().Language()));
    }
}

TEST(PopupMenus, MenusStayOnTheScreen) {
    struct Row {
        POINT at;
        SIZE picture;
        POINT fitted;
    };
    const SIZE screen{1280, 1000};
    const Row rows[] = {{{100, 100}, {150, 300}, {100, 100}},
                        {{1130, 700}, {150, 300}, {1130, 700}},
                        // Past the right edge it opens to the left, leaving room for a sub-menu.
                        {{1200, 100}, {150, 300}, {900, 100}},
                        // Past the bottom it is mirrored above.
                        {{100, 900}, {150, 300}, {100, 500}},
                        {{1279, 999}, {150, 300}, {979, 401}},
                        // On a screen too small for the moves it keeps to the top-left corner.
                        {{200, 500}, {150, 800}, {200, 0}},
                        {{1250, 10}, {700, 30}, {0, 10}}};
    for (const Row& row : rows) {
        const POINT fitted = PopupMenu::FitImageToScreen(row.at, row.picture, screen);
        EXPECT_EQ(row.fitted.x, fitted.x) << row.at.x << "," << row.at.y;
        EXPECT_EQ(row.fitted.y, fitted.y) << row.at.x << "," << row.at.y;
    }
}
