#include "shared/store/CIniSectionUpdate.h"

#include "shared/store/CDataFolderLock.h"
#include "winlayer/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace {

// Another program writing the file between our read and our write makes us read again; after
// this many tries the keys go one by one.
constexpr int kAttempts = 3;

// A file larger than this is written key by key rather than looked at whole.
constexpr DWORD kMaxLookBytes = 16 * 1024 * 1024;

// The stamp is taken when the section is read and again before it is written: a file whose
// stamp stayed holds what was read.
using FileStamp = CIniFile::FileStamp;

bool IsAscii(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

wchar_t AsciiLower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring AsciiFolded(std::wstring_view text) {
    std::wstring folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), AsciiLower);
    return folded;
}

// Blanks and controls that the platform may strip from either end of a value, at once or when
// it next loads the file; a value with one there could be stored differently by a section write.
bool MayBeTrimmed(wchar_t c) {
    if (c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xFEFF) {
        return true;
    }
    WORD type = 0;
    return GetStringTypeW(CT_CTYPE1, &c, 1, &type) &&
           (type & (C1_SPACE | C1_BLANK | C1_CNTRL)) != 0;
}

std::wstring_view Trimmed(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::wstring_view TrimmedWide(std::wstring_view text) {
    while (!text.empty() && MayBeTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && MayBeTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Whether a line that starts with '[' may head section: the name may end at any ']' or at the
// end of the line, and names with other characters than ASCII may fold onto ours.
bool MayHeadSection(std::wstring_view line, std::wstring_view section) {
    const std::wstring_view rest = line.substr(1);
    for (std::size_t end = rest.find(L']');; end = rest.find(L']', end + 1)) {
        const std::wstring_view name = TrimmedWide(rest.substr(0, end));
        if (!IsAscii(name) ||
            (name.size() == section.size() && AsciiFolded(name) == AsciiFolded(section))) {
            return true;
        }
        if (end == std::wstring_view::npos) {
            return false;
        }
    }
}

// The file's text split into lines as the platform splits it: UTF-16 after its mark, otherwise
// a character per byte, which keeps every ASCII character in place. Nothing when the platform
// may read the bytes as UTF-16 of another kind (big-endian, or without mark: zero bytes).
std::optional<std::wstring> LineText(const std::string& bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        std::wstring text(bytes.size() / 2 - 1, L'\0');
        std::memcpy(text.data(), bytes.data() + 2, text.size() * sizeof(wchar_t));
        return text;
    }
    if (bytes.starts_with("\xFE\xFF") || bytes.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    std::wstring text(bytes.size(), L'\0');
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
    return text;
}

// Whether the section list shows every line of the file that key by key writes keep, and the
// section appears at most once: the list leaves out comment lines (any ';' counts as one), and
// the platform reads and writes the first of two sections of a name while a section write
// removes the keys of both.
bool ListShowsEveryLine(std::wstring_view text, std::wstring_view section) {
    if (text.find(L';') != std::wstring_view::npos) {
        return false;
    }
    int headers = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n", start), text.size());
        std::wstring_view line = text.substr(start, end - start);
        start = end + 1;
        // Characters other than ASCII may be blanks by the file's code page (or a UTF-8 mark).
        while (!line.empty() && (line.front() >= 0x80 || MayBeTrimmed(line.front()))) {
            line.remove_prefix(1);
        }
        if (line.starts_with(L'[') && MayHeadSection(line, section) && ++headers > 1) {
            return false;
        }
    }
    return true;
}

// What the file's own bytes tell before a section write: its stamp, and whether a section
// write of section is safe. A missing file is safe to create.
struct FileLook {
    bool Safe = false;
    FileStamp Stamp;
};

FileLook LookAt(const std::wstring& path, std::wstring_view section) {
    // The stamp comes first: a write after it shows in the check before ours.
    const FileStamp stamp = CIniFile(path).Stamp();
    if (!stamp.Exists) {
        const DWORD error = GetLastError();
        return {error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND, {}};
    }
    if (stamp.Size > kMaxLookBytes) {
        return {};
    }
    const winlayer::UniqueHandle file(CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, 0, nullptr));
    std::string bytes(static_cast<std::size_t>(stamp.Size), '\0');
    DWORD read = 0;
    if (!file ||
        !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(stamp.Size), &read, nullptr) ||
        read != stamp.Size) {
        return {};
    }
    const std::optional<std::wstring> text = LineText(bytes);
    return {text && ListShowsEveryLine(*text, section), stamp};
}

void Append(std::vector<wchar_t>& list, std::wstring_view entry) {
    list.insert(list.end(), entry.begin(), entry.end());
    list.push_back(L'\0');
}

} // namespace

CIniSectionUpdate::CIniSectionUpdate(std::wstring section) : section_(std::move(section)) {}

void CIniSectionUpdate::Add(std::wstring_view key, std::wstring_view text) {
    keys_.push_back({CIniFile::WithoutLineBreaks(key), CIniFile::WithoutLineBreaks(text)});
}

void CIniSectionUpdate::AddInt(std::wstring_view key, int value) {
    Add(key, std::to_wstring(value));
}

void CIniSectionUpdate::AddStruct(std::wstring_view key, std::span<const std::uint8_t> bytes) {
    Add(key, CIniFile::EncodeStruct(bytes));
}

bool CIniSectionUpdate::IsAdded(std::wstring_view name) const {
    return std::ranges::any_of(keys_, [&](const Key& key) {
        return CompareStringOrdinal(key.Name.data(), static_cast<int>(key.Name.size()), name.data(),
                                    static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
    });
}

CIniSectionUpdate::Outcome CIniSectionUpdate::WriteKeyByKey(const CIniFile& ini) const {
    const CDataFolderLock lock;
    if (!lock) {
        return Outcome::Failed;
    }
    if (ownsAllKeys_) {
        const std::optional<std::vector<wchar_t>> current = ini.ReadSectionText(section_);
        if (!current) {
            return Outcome::Failed;
        }
        for (const std::wstring_view entry : CIniFile::ListEntries(*current)) {
            const std::size_t equals = entry.find(L'=');
            if (equals == std::wstring_view::npos) {
                continue;
            }
            const std::wstring_view name = Trimmed(entry.substr(0, equals));
            if (!name.empty() && !IsAdded(name) && !ini.DeleteKey(section_, name)) {
                return Outcome::Failed;
            }
        }
    }
    for (const Key& key : keys_) {
        if (!ini.WriteString(section_, key.Name, key.Value)) {
            return Outcome::Failed;
        }
    }
    return Outcome::KeyByKey;
}

CIniSectionUpdate::Outcome CIniSectionUpdate::Write(const CIniFile& ini) const {
    // The section is read, merged and written back with no other writer in between.
    const CDataFolderLock lock;
    if (!lock) {
        return Outcome::Failed;
    }
    const bool safe = KeysAreSafe();
    for (int attempt = 0; safe && attempt < kAttempts; ++attempt) {
        const Attempt result = TryWholeSection(ini);
        if (result == Attempt::Written) {
            return Outcome::WholeSection;
        }
        if (result == Attempt::Unchanged) {
            return Outcome::Unchanged;
        }
        if (result != Attempt::Raced) {
            break;
        }
    }
    // A failed section write may be one the platform refuses whole; the keys one by one then
    // fail or succeed as they always did.
    return WriteKeyByKey(ini);
}

bool CIniSectionUpdate::KeysAreSafe() const {
    if (section_.empty() || !IsAscii(section_)) {
        return false;
    }
    std::vector<std::wstring> names;
    for (const Key& key : keys_) {
        // Printable ASCII names that read back as written, and values without a zero (which
        // would end the entry in a list and start another).
        const bool plainName =
            !key.Name.empty() && Trimmed(key.Name) == key.Name &&
            std::all_of(key.Name.begin(), key.Name.end(),
                        [](wchar_t c) { return c >= 0x20 && c < 0x7F && c != L'='; }) &&
            key.Name.front() != L';' && key.Name.front() != L'[';
        if (!plainName || key.Value.find(L'\0') != std::wstring::npos ||
            (!key.Value.empty() &&
             (MayBeTrimmed(key.Value.front()) || MayBeTrimmed(key.Value.back())))) {
            return false;
        }
        names.push_back(AsciiFolded(key.Name));
    }
    // A key added twice is written twice one by one, the second value winning.
    std::sort(names.begin(), names.end());
    return std::adjacent_find(names.begin(), names.end()) == names.end();
}

CIniSectionUpdate::Attempt CIniSectionUpdate::TryWholeSection(const CIniFile& ini) const {
    const FileLook look = LookAt(ini.Path(), section_);
    const std::optional<std::vector<wchar_t>> current = ini.ReadSectionText(section_);
    std::vector<wchar_t> merged;
    bool changed = false;
    // A section write of no entries would remove the section's name too.
    if (!look.Safe || !current || !Merge(*current, merged, changed) ||
        (ownsAllKeys_ && merged.empty())) {
        return Attempt::NotSafe;
    }
    // Key by key writes of the values a file holds already leave it untouched.
    if (!changed) {
        return Attempt::Unchanged;
    }
    if (!(ini.Stamp() == look.Stamp)) {
        return Attempt::Raced;
    }
    return ini.ReplaceSection(section_, merged) ? Attempt::Written : Attempt::Failed;
}

bool CIniSectionUpdate::Merge(const std::vector<wchar_t>& current, std::vector<wchar_t>& merged,
                              bool& changed) const {
    std::unordered_map<std::wstring, std::size_t> index;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        index.emplace(AsciiFolded(keys_[i].Name), i);
    }
    std::vector<bool> placed(keys_.size(), false);
    merged.clear();
    merged.reserve(current.size() + 1024);
    for (const std::wstring_view entry : CIniFile::ListEntries(current)) {
        // A line without '=' or without a name is kept by key by key writes but dropped by a
        // section write; a name with other characters than ASCII may fold onto one of ours.
        const std::size_t equals = entry.find(L'=');
        if (equals == std::wstring_view::npos) {
            return false;
        }
        const std::wstring_view name = Trimmed(entry.substr(0, equals));
        if (name.empty() || !IsAscii(name)) {
            return false;
        }
        const auto found = index.find(AsciiFolded(name));
        if (found == index.end() && ownsAllKeys_) {
            changed = true;
            continue;
        }
        if (found == index.end() || placed[found->second]) {
            Append(merged, entry);
            continue;
        }
        placed[found->second] = true;
        const std::wstring& value = keys_[found->second].Value;
        changed = changed || entry.substr(equals + 1) != value;
        // The file's spelling of the name stays, as a write of the key keeps it.
        merged.insert(merged.end(), entry.begin(), entry.begin() + equals + 1);
        Append(merged, value);
    }
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (!placed[i]) {
            Append(merged, keys_[i].Name + L"=" + keys_[i].Value);
            changed = true;
        }
    }
    // The list is written with one more zero that ends it. The new list is never shorter than
    // the one read, so this also refuses a list the read may have cut.
    return merged.size() + 1 <= kMaxSectionChars;
}
