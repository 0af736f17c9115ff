#include "shared/store/CIniFile.h"

#include "shared/store/CDataFolderLock.h"
#include "shared/store/CIniText.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Returned by the platform for a missing key; no value in our files looks like it.
constexpr wchar_t kMissing[] = L"\x01\x02missing\x02\x01";

int HexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    return -1;
}

// The platform looks for a bare file name in the Windows folder; our files always have one.
bool HasFolder(const std::wstring& path) {
    return path.find_first_of(L"\\/") != std::wstring::npos;
}

// Errors of a file that exists but cannot be opened now; a missing file is not one of them.
bool IsOpenRefused(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

} // namespace

CIniFile::CIniFile(std::wstring path) : path_(std::move(path)) {}

std::wstring CIniFile::WithoutLineBreaks(std::wstring_view text) {
    std::wstring result;
    result.reserve(text.size());
    for (wchar_t c : text) {
        if (c != L'\r' && c != L'\n') {
            result.push_back(c);
        }
    }
    return result;
}

bool CIniFile::Write(bool keepOldText, const std::function<void(CIniText&)>& change) const {
    const CDataFolderLock lock;
    if (!lock || !HasFolder(path_)) {
        return false;
    }
    CIniText text;
    if (keepOldText && !text.Load(path_)) {
        return false;
    }
    change(text);
    // Values the file holds already leave it untouched.
    if (keepOldText && !text.Changed()) {
        return true;
    }
    return text.Save(path_);
}

bool CIniFile::Change(const std::function<void(CIniText&)>& change) const {
    return Write(true, change);
}

bool CIniFile::Replace(const std::function<void(CIniText&)>& fill) const {
    return Write(false, fill);
}

bool CIniFile::WriteString(std::wstring_view section, std::wstring_view key,
                           std::wstring_view text) const {
    return Change([&](CIniText& ini) { ini.Set(section, key, text); });
}

bool CIniFile::WriteInt(std::wstring_view section, std::wstring_view key, int value) const {
    return WriteString(section, key, std::to_wstring(value));
}

bool CIniFile::WriteStruct(std::wstring_view section, std::wstring_view key,
                           std::span<const std::uint8_t> bytes) const {
    return WriteString(section, key, EncodeStruct(bytes));
}

int CIniFile::ReadInt(std::wstring_view section, std::wstring_view key, int defaultValue) const {
    const std::wstring text = ReadString(section, key, kMissing, kIntCapacity);
    return text == kMissing ? defaultValue : ParseInt(text, defaultValue);
}

int CIniFile::ParseInt(std::wstring_view text, int defaultValue) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i >= text.size() || text[i] < L'0' || text[i] > L'9') {
        return defaultValue;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = std::min(value * 10 + (text[i] - L'0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::wstring CIniFile::ReadString(std::wstring_view section, std::wstring_view key,
                                  std::wstring_view defaultValue, std::size_t capacity) const {
    if (capacity == 0) {
        return {};
    }
    const CDataFolderLock lock;
    if (!lock || !HasFolder(path_)) {
        return std::wstring(defaultValue.substr(0, capacity - 1));
    }
    CDataFolderLock::Touched(path_);
    const std::wstring s(section);
    const std::wstring k(key);
    const std::wstring d(defaultValue);
    std::vector<wchar_t> buffer(capacity, L'\0');
    const DWORD length = GetPrivateProfileStringW(s.c_str(), k.c_str(), d.c_str(), buffer.data(),
                                                  static_cast<DWORD>(capacity), path_.c_str());
    std::wstring result(buffer.data(), std::min<std::size_t>(length, capacity - 1));
    // A value cut at the capacity must not end in half a surrogate pair.
    if (result.size() == capacity - 1 && !result.empty() && IS_HIGH_SURROGATE(result.back())) {
        result.pop_back();
    }
    return result;
}

bool CIniFile::ReadStruct(std::wstring_view section, std::wstring_view key,
                          std::span<std::uint8_t> bytes) const {
    const std::wstring text = ReadString(section, key, L"", StructCapacity(bytes.size()));
    return DecodeStruct(text, bytes);
}

std::optional<std::vector<wchar_t>> CIniFile::ReadSectionText(std::wstring_view section) const {
    if (!HasFolder(path_)) {
        return std::vector<wchar_t>{};
    }
    const CDataFolderLock lock;
    if (!lock) {
        return std::nullopt;
    }
    CDataFolderLock::Touched(path_);
    const std::wstring s(section);
    // The list is never longer than the file has characters, so a buffer of the file's size
    // takes it in one read; the buffer still grows should it not.
    WIN32_FILE_ATTRIBUTE_DATA file{};
    std::size_t size = 8192;
    if (GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &file) &&
        file.nFileSizeHigh == 0) {
        size = std::max<std::size_t>(size, std::size_t{file.nFileSizeLow} + 4);
    }
    std::vector<wchar_t> buffer(size);
    for (;;) {
        // The platform tells a file it could not open only by the error it leaves behind.
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetPrivateProfileSectionW(
            s.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
        if (length == 0 && IsOpenRefused(GetLastError())) {
            return std::nullopt;
        }
        if (length + 2 < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::wstring_view> CIniFile::ListEntries(std::span<const wchar_t> list) {
    std::vector<std::wstring_view> entries;
    const std::wstring_view all(list.data(), list.size());
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t end = std::min(all.find(L'\0', start), all.size());
        entries.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

bool CIniFile::ReplaceSection(std::wstring_view section,
                              std::span<const std::wstring> entries) const {
    return Change([&](CIniText& ini) { ini.ReplaceSection(section, entries); });
}

std::wstring CIniFile::EncodeStruct(std::span<const std::uint8_t> bytes) {
    static constexpr wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text;
    text.reserve(bytes.size() * 2 + 2);
    unsigned sum = 0;
    auto put = [&](std::uint8_t b) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 0x0F]);
    };
    for (std::uint8_t b : bytes) {
        put(b);
        sum += b;
    }
    put(static_cast<std::uint8_t>(sum & 0xFF));
    return text;
}

bool CIniFile::DecodeStruct(std::wstring_view text, std::span<std::uint8_t> bytes) {
    if (text.size() != bytes.size() * 2 + 2) {
        return false;
    }
    std::vector<std::uint8_t> decoded(bytes.size() + 1);
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const int high = HexDigitValue(text[2 * i]);
        const int low = HexDigitValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        decoded[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        sum += decoded[i];
    }
    if ((sum & 0xFF) != decoded.back()) {
        return false;
    }
    std::copy(decoded.begin(), decoded.end() - 1, bytes.begin());
    return true;
}
