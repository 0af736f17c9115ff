#pragma once

#include "config/core/LanguageText.h"
#include "shared/store/SettingsRecord.h"

#include <array>
#include <optional>
#include <span>
#include <string>

// The captions of the eight button-assignment buttons: what each programmable button does, read
// from its entry in the record's one profile block.
class ButtonCaptions {
public:
    struct Caption {
        std::wstring text;
        // Set when the caption rule changed the entry (a macro's name written into it, or a
        // macro that no longer exists turned the button off); the caller stores it.
        std::optional<ButtonAssignment> changedEntry;
    };

    // The caption of one entry. `macroNames` is the global macro-name list, in slot order.
    static Caption Of(const ButtonAssignment& entry, std::span<const std::wstring> macroNames,
                      const LanguageText& language);

    // The captions of the record's eight buttons, in button order; entry changes are written
    // back into the record.
    static std::array<std::wstring, kButtonCount> Refresh(SettingsRecord& record,
                                                          std::span<const std::wstring> macroNames,
                                                          const LanguageText& language);

    // Name of a single key (a usage id) as a caption: its virtual key by the fixed key table or,
    // for other keys, by the character the keyboard layout gives it; "key" when the usage has no
    // virtual key.
    static std::wstring SingleKeyCaption(std::uint8_t usage);
    // "Shift + Ctrl + Win + Alt + key" of a key combination's key data; with fewer than two keys
    // the name of its first key.
    static std::wstring CombinationCaption(const std::array<std::uint8_t, 120>& keyData,
                                           const LanguageText& language);
};
