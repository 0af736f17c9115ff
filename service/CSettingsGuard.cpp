#include "service/CSettingsGuard.h"

#include "shared/store/SettingsIni.h"

#include <algorithm>

int CSettingsGuard::Profile() const {
    const auto lock = Lock();
    return record_.Profile;
}

void CSettingsGuard::StoreProfile(int profile, const std::wstring& path) {
    const auto lock = Lock();
    record_.Profile = profile;
    if (!path.empty()) {
        SettingsIni_Write(record_, path);
    }
}

int CSettingsGuard::StepProfile(int step) {
    const auto lock = Lock();
    const long long moved = static_cast<long long>(record_.Profile) + step;
    record_.Profile = static_cast<int>(std::clamp<long long>(moved, 0, kProfileCount - 1));
    return record_.Profile;
}

std::wstring CSettingsGuard::ButtonText(int button) const {
    if (button < 0 || button >= kButtonCount) {
        return {};
    }
    const auto lock = Lock();
    const auto& text = record_.ButtonAssigned[static_cast<std::size_t>(button)].Text;
    return std::wstring(text.data(), std::find(text.begin(), text.end(), L'\0'));
}
