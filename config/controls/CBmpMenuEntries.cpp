#include "config/controls/CBmpMenuEntries.h"

namespace {
std::wstring Cut(const std::wstring& text) {
    return text.substr(0, CBmpMenuEntries::kMaxText);
}
} // namespace

bool CBmpMenuEntries::AddItem(const std::wstring& text, int value) {
    if (m_entries.size() >= kMaxEntries) {
        return false;
    }
    tagBMPMENUINFO entry;
    entry.text = Cut(text);
    entry.value = value;
    m_entries.push_back(std::move(entry));
    return true;
}

bool CBmpMenuEntries::AddSubItem(int index, const std::wstring& text, int value) {
    tagBMPMENUINFO* entry = At(index);
    if (entry == nullptr || entry->subEntries.size() >= kMaxEntries) {
        return false;
    }
    entry->hasSubMenu = true;
    tagBMPMENUINFO sub;
    sub.text = Cut(text);
    sub.value = value;
    entry->subEntries.push_back(std::move(sub));
    return true;
}

tagBMPMENUINFO* CBmpMenuEntries::At(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size()) {
        return nullptr;
    }
    return &m_entries[static_cast<size_t>(index)];
}
