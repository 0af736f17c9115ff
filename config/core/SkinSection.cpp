#include "config/core/SkinSection.h"

#include "config/core/SkinFile.h"
#include "shared/store/IniTextRules.h"

#include <windows.h>

namespace {
// The longest value a single read returns (its buffer holds 4096 characters).
constexpr size_t kLongestValue = 4095;

// The section as the system returns it: "key=value" strings, each ended by a null.
std::wstring SectionText(const std::wstring& path, std::wstring_view section) {
    std::wstring buffer(32 * 1024, L'\0');
    for (;;) {
        const DWORD length =
            GetPrivateProfileSectionW(std::wstring(section).c_str(), buffer.data(),
                                      static_cast<DWORD>(buffer.size()), path.c_str());
        // A section that does not fit comes back cut, two characters short of the buffer.
        if (length + 2 < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(buffer.size() * 2, L'\0');
    }
}
} // namespace

SkinSection::SkinSection(std::wstring_view iniName, std::wstring_view section) {
    const std::wstring text = SectionText(SkinFile::Path(iniName), section);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L'\0', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        const std::wstring_view line(text.data() + start, end - start);
        const size_t equals = line.find(L'=');
        const std::wstring_view key = Trimmed(line.substr(0, equals));
        std::wstring_view value = equals == std::wstring_view::npos
                                      ? std::wstring_view()
                                      : Trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        m_entries.emplace_back(key, value.substr(0, kLongestValue));
        start = end + 1;
    }
}

std::wstring SkinSection::Value(std::wstring_view key) const {
    for (const auto& [name, value] : m_entries) {
        if (CompareStringOrdinal(name.data(), static_cast<int>(name.size()), key.data(),
                                 static_cast<int>(key.size()), TRUE) == CSTR_EQUAL) {
            return value;
        }
    }
    return {};
}
