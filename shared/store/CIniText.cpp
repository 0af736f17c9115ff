#include "shared/store/CIniText.h"

#include "shared/store/CIniFile.h"
#include "shared/store/IniTextRules.h"
#include "shared/store/WholeFile.h"

#include <windows.h>

#include <optional>

namespace {

constexpr char kUtf16Mark[] = "\xFF\xFE";
constexpr char kUtf16BigEndianMark[] = "\xFE\xFF";
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// The name a line gives a section, nothing for any other line.
std::optional<std::wstring_view> SectionName(std::wstring_view line) {
    line = Trimmed(line);
    if (!line.starts_with(L'[')) {
        return std::nullopt;
    }
    const std::size_t end = line.find(L']');
    return Trimmed(line.substr(1, end == std::wstring_view::npos ? end : end - 1));
}

// The key a line of a section names: before its '=', or the whole line without one. Nothing for
// blank and comment lines.
std::optional<std::wstring_view> KeyName(std::wstring_view line) {
    line = Trimmed(line);
    if (line.empty() || line.front() == L';') {
        return std::nullopt;
    }
    return Trimmed(line.substr(0, line.find(L'=')));
}

std::wstring Decoded(std::string_view bytes, UINT codePage) {
    const int length = static_cast<int>(bytes.size());
    std::wstring text(bytes.size(), L'\0');
    if (length > 0) {
        text.resize(static_cast<std::size_t>(
            MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), length)));
    }
    return text;
}

std::wstring Utf16Decoded(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

void AppendUtf16(std::string& bytes, std::wstring_view text, bool bigEndian) {
    bytes.reserve(bytes.size() + text.size() * 2);
    for (const wchar_t c : text) {
        const auto high = static_cast<char>(c >> 8);
        const auto low = static_cast<char>(c & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
}

// The text in the code page, false when a character has no place in it.
bool Encoded(std::wstring_view text, UINT codePage, std::string& bytes) {
    if (text.empty()) {
        return true;
    }
    const int length = static_cast<int>(text.size());
    BOOL lost = FALSE;
    const bool utf8 = codePage == CP_UTF8;
    const int size = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr,
                                         utf8 ? nullptr : &lost);
    if (size <= 0 || lost) {
        return false;
    }
    const std::size_t start = bytes.size();
    bytes.resize(start + static_cast<std::size_t>(size));
    WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data() + start, size, nullptr,
                        nullptr);
    return true;
}

} // namespace

bool CIniText::Load(const std::wstring& path, bool* missing) {
    lines_.clear();
    encoding_ = Encoding::Utf16;
    endsWithLineBreak_ = true;
    changed_ = false;
    const std::optional<std::string> read = ReadWholeFile(path, missing);
    if (!read) {
        return false;
    }
    const std::string_view bytes = *read;
    std::wstring text;
    if (bytes.empty()) {
        return true;
    }
    if (bytes.starts_with(kUtf16Mark)) {
        text = Utf16Decoded(bytes.substr(2), false);
    } else if (bytes.starts_with(kUtf16BigEndianMark)) {
        encoding_ = Encoding::Utf16BigEndian;
        text = Utf16Decoded(bytes.substr(2), true);
    } else if (bytes.starts_with(kUtf8Mark)) {
        encoding_ = Encoding::Utf8;
        text = Decoded(bytes.substr(3), CP_UTF8);
    } else {
        encoding_ = Encoding::CodePage;
        text = Decoded(bytes, CP_ACP);
    }
    if (text.empty()) {
        return true;
    }
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find_first_of(L"\r\n", start), text.size());
        lines_.emplace_back(text, start, end - start);
        start = end;
        if (start < text.size() && text[start] == L'\r') {
            ++start;
        }
        if (start < text.size() && text[start] == L'\n') {
            ++start;
        }
    }
    endsWithLineBreak_ = text.back() == L'\r' || text.back() == L'\n';
    return true;
}

std::size_t CIniText::FindSection(std::wstring_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::optional<std::wstring_view> name = SectionName(lines_[i]);
        if (name && EqualNoCase(*name, section)) {
            return i;
        }
    }
    return lines_.size();
}

std::size_t CIniText::SectionEnd(std::size_t header) const {
    std::size_t end = header + 1;
    while (end < lines_.size() && !SectionName(lines_[end])) {
        ++end;
    }
    return end;
}

void CIniText::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::wstring name = CIniFile::WithoutLineBreaks(Trimmed(section));
    const std::wstring keyName = CIniFile::WithoutLineBreaks(Trimmed(key));
    const std::wstring entry = CIniFile::WithoutLineBreaks(value);
    std::size_t header = FindSection(name);
    if (header == lines_.size()) {
        lines_.push_back(L"[" + name + L"]");
        changed_ = true;
    }
    // A new key goes after the section's last line that is not blank.
    std::size_t last = header;
    for (std::size_t i = header + 1; i < lines_.size() && !SectionName(lines_[i]); ++i) {
        if (Trimmed(lines_[i]).empty()) {
            continue;
        }
        last = i;
        const std::optional<std::wstring_view> found = KeyName(lines_[i]);
        if (!found || !EqualNoCase(*found, keyName)) {
            continue;
        }
        const std::size_t equals = lines_[i].find(L'=');
        // A value that reads as the new one already stays as it is written.
        if (equals != std::wstring::npos &&
            Trimmed(std::wstring_view(lines_[i]).substr(equals + 1)) == Trimmed(entry)) {
            return;
        }
        lines_[i] =
            (equals == std::wstring::npos ? lines_[i] + L"=" : lines_[i].substr(0, equals + 1)) +
            entry;
        changed_ = true;
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1), keyName + L"=" + entry);
    changed_ = true;
}

void CIniText::ReplaceSection(std::wstring_view section, std::span<const std::wstring> entries) {
    const std::wstring name = CIniFile::WithoutLineBreaks(Trimmed(section));
    std::size_t header = FindSection(name);
    std::vector<std::wstring> replaced;
    for (const std::wstring& entry : entries) {
        replaced.push_back(CIniFile::WithoutLineBreaks(entry));
    }
    if (header == lines_.size()) {
        if (replaced.empty()) {
            return;
        }
        lines_.push_back(L"[" + name + L"]");
    }
    // The blank lines that end the section keep it apart from the next one.
    std::size_t end = SectionEnd(header);
    while (end > header + 1 && Trimmed(lines_[end - 1]).empty()) {
        --end;
    }
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(header);
    const std::vector<std::wstring> before(first,
                                           lines_.begin() + static_cast<std::ptrdiff_t>(end));
    if (replaced.empty()) {
        lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(end));
        changed_ = true;
        return;
    }
    replaced.insert(replaced.begin(), lines_[header]);
    if (replaced != before) {
        lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(end));
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(header), replaced.begin(),
                      replaced.end());
        changed_ = true;
    }
}

bool CIniText::Save(const std::wstring& path, bool replaceExisting) const {
    std::wstring text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i];
        if (i + 1 < lines_.size() || endsWithLineBreak_) {
            text += L"\r\n";
        }
    }
    std::string bytes;
    bool written = false;
    if (encoding_ == Encoding::Utf8) {
        bytes = kUtf8Mark;
        written = Encoded(text, CP_UTF8, bytes);
    } else if (encoding_ == Encoding::CodePage) {
        written = Encoded(text, CP_ACP, bytes);
    } else if (encoding_ == Encoding::Utf16BigEndian) {
        bytes.assign(kUtf16BigEndianMark, 2);
        AppendUtf16(bytes, text, true);
        written = true;
    }
    if (!written) {
        bytes.assign(kUtf16Mark, 2);
        AppendUtf16(bytes, text, false);
    }
    return ReplaceWholeFile(path, bytes, replaceExisting);
}
