#pragma once

#include "config/core/LanguageText.h"
#include "config/core/PopupMenu.h"
#include "shared/store/SettingsRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The pop-up menus of the main window, with their texts from the language file, and what their
// ids stand for.
class PopupMenus {
public:
    // Positions of the insert-action menu's entries.
    static constexpr int kInsertNewAction = 0;
    static constexpr int kCopyAction = 1;
    static constexpr int kCutAction = 2;
    static constexpr int kPasteAction = 3;

    // The function of a mouse button: 22 entries (the last six heads of sub-menus) and 39
    // sub-entries; ids are button function codes.
    static PopupMenu ButtonFunction(const LanguageText& language);
    // "125", "250", "500", "1000".
    static PopupMenu PollingRate();
    // The lighting modes a slot offers; none for a slot outside 0 to 3.
    static std::optional<PopupMenu> LightingMode(int lightingSlot, const LanguageText& language);
    // The four insert modes of the macro page.
    static PopupMenu InsertMode(const LanguageText& language);
    // New action, copy, cut, paste on the macro event list; opened below a control or, with the
    // same contents, at the cursor.
    static PopupMenu InsertAction(const LanguageText& language);
    // Left, right and middle button to insert as a click.
    static PopupMenu MouseButton(const LanguageText& language);

    // Lighting mode 1 to 13 of its menu id.
    static std::optional<int> LightingModeOfId(int id);
    // "LEDMODE1" to "LEDMODE13".
    static std::wstring LightingModeKeyword(int mode);
    // The slot's lighting mode field of the record; null for a slot outside 0 to 3.
    static std::int32_t* LightingModeOfSlot(SettingsRecord& record, int lightingSlot);

    // Insert mode 0 to 3 of its menu id.
    static std::optional<int> InsertModeOfId(int id);
    // "ADDMACRO1" to "ADDMACRO4" for insert modes 0 to 3.
    static std::wstring InsertModeKeyword(int mode);
    // The insert mode whose text the caption shows; none when it shows none of them.
    static std::optional<int> InsertModeOfCaption(std::wstring_view caption,
                                                  const LanguageText& language);

    // Polling interval (8, 4, 2, 1) of a polling-rate menu id.
    static std::optional<int> PollingIntervalOfId(int id);
    // Mouse button 1 (left), 2 (right) or 3 (middle) of a mouse-button menu id.
    static std::optional<int> MouseButtonOfId(int id);
};
