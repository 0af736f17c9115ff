#include "shared/store/RegKey.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <utility>
#include <vector>

namespace {

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(a[i]) != std::towupper(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

RegKey::~RegKey() {
    Close();
}

RegKey::RegKey(RegKey&& other) noexcept
    : key_(std::exchange(other.key_, nullptr)), root_(std::exchange(other.root_, nullptr)),
      subKey_(std::move(other.subKey_)) {}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
    if (this != &other) {
        Close();
        key_ = std::exchange(other.key_, nullptr);
        root_ = std::exchange(other.root_, nullptr);
        subKey_ = std::move(other.subKey_);
    }
    return *this;
}

void RegKey::Close() {
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
}

LONG RegKey::OpenSubKey(HKEY root, std::wstring_view subKey, REGSAM access, bool createIfMissing) {
    Close();
    root_ = root;
    subKey_.assign(subKey);
    LONG result = RegOpenKeyExW(root_, subKey_.c_str(), 0, access, &key_);
    if (result != ERROR_SUCCESS && createIfMissing) {
        result = RegCreateKeyExW(root_, subKey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 access, nullptr, &key_, nullptr);
    }
    if (result != ERROR_SUCCESS) {
        key_ = nullptr;
    }
    return result;
}

bool RegKey::Open(std::wstring_view path, REGSAM access, bool createIfMissing) {
    Close();
    root_ = nullptr;
    subKey_.clear();
    const std::size_t slash = path.find(L'\\');
    if (slash == std::wstring_view::npos) {
        return false;
    }
    static const std::array<std::pair<std::wstring_view, HKEY>, 4> roots = {{
        {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    }};
    const std::wstring_view first = path.substr(0, slash);
    for (const auto& [name, root] : roots) {
        if (EqualsNoCase(first, name)) {
            return OpenSubKey(root, path.substr(slash + 1), access, createIfMissing) ==
                   ERROR_SUCCESS;
        }
    }
    return OpenSubKey(HKEY_LOCAL_MACHINE, path, access, createIfMissing) == ERROR_SUCCESS;
}

std::optional<std::wstring> RegKey::ReadString(std::wstring_view name) const {
    if (key_ == nullptr) {
        return std::nullopt;
    }
    const std::wstring valueName(name);
    std::vector<std::uint8_t> data(256);
    // The value may grow between two queries; a few rounds are plenty.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = static_cast<DWORD>(data.size());
        const LONG result =
            RegQueryValueExW(key_, valueName.c_str(), nullptr, &type, data.data(), &size);
        if (result == ERROR_MORE_DATA) {
            data.resize(static_cast<std::size_t>(size) + sizeof(wchar_t));
            continue;
        }
        if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        std::wstring text(size / sizeof(wchar_t), L'\0');
        std::copy_n(data.data(), text.size() * sizeof(wchar_t),
                    reinterpret_cast<std::uint8_t*>(text.data()));
        text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
        return text;
    }
    return std::nullopt;
}

bool RegKey::ReadValue(std::wstring_view name, std::span<std::uint8_t> buffer, DWORD& size) const {
    if (key_ == nullptr) {
        return false;
    }
    const std::wstring valueName(name);
    size = static_cast<DWORD>(buffer.size());
    return RegQueryValueExW(key_, valueName.c_str(), nullptr, nullptr, buffer.data(), &size) ==
           ERROR_SUCCESS;
}

LONG OpenOrCreateRegKey(HKEY root, std::wstring_view subKey, RegKey& key) {
    return key.OpenSubKey(root, subKey, KEY_ALL_ACCESS, true);
}
