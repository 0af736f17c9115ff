#include "config/dialogs/ButtonEntryTarget.h"

bool ButtonEntryTarget::Set(SettingsRecord& record, int buttonIndex) {
    if (buttonIndex < 0 || buttonIndex >= kButtonCount) {
        m_entry = nullptr;
        return false;
    }
    m_entry = &record.ButtonAssigned[static_cast<size_t>(buttonIndex)];
    return true;
}
