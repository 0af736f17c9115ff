#include "shared/store/CIniText.h"

#include "shared/store/CIniFile.h"
#include "winlayer/UniqueHandle.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr char kUtf16Mark[] = "\xFF\xFE";
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

std::wstring_view Trimmed(std::wstring_view text) {
    const std::size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The name a line gives a section, nothing for any other line.
bool SectionName(std::wstring_view line, std::wstring_view& name) {
    line = Trimmed(line);
    if (!line.starts_with(L'[')) {
        return false;
    }
    const std::size_t end = line.find(L']');
    name = Trimmed(line.substr(1, end == std::wstring_view::npos ? end : end - 1));
    return true;
}

std::wstring Decoded(const std::string& bytes, UINT codePage, std::size_t skip) {
    const int length = static_cast<int>(bytes.size() - skip);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length > 0) {
        text.resize(static_cast<std::size_t>(
            MultiByteToWideChar(codePage, 0, bytes.data() + skip, length, text.data(), length)));
    }
    return text;
}

// The text in the code page, nothing when a character has no place in it.
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

bool WriteWhole(const std::wstring& path, const std::string& bytes) {
    const winlayer::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
           written == bytes.size() && FlushFileBuffers(file.Get());
}

} // namespace

bool CIniText::Load(const std::wstring& path) {
    lines_.clear();
    encoding_ = Encoding::Utf16;
    endsWithLineBreak_ = true;
    const winlayer::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > MAXLONG) {
        return false;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        return false;
    }
    std::wstring text;
    if (bytes.starts_with(kUtf16Mark)) {
        text.resize((bytes.size() - 2) / 2);
        std::memcpy(text.data(), bytes.data() + 2, text.size() * sizeof(wchar_t));
    } else if (bytes.starts_with(kUtf8Mark)) {
        encoding_ = Encoding::Utf8;
        text = Decoded(bytes, CP_UTF8, 3);
    } else {
        encoding_ = Encoding::CodePage;
        text = Decoded(bytes, CP_ACP, 0);
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
        std::wstring_view name;
        if (SectionName(lines_[i], name) && EqualNoCase(name, section)) {
            return i;
        }
    }
    return lines_.size();
}

void CIniText::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::wstring entry = CIniFile::WithoutLineBreaks(value);
    std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        lines_.push_back(L"[" + std::wstring(section) + L"]");
        header = lines_.size() - 1;
    }
    // The section's lines up to the next header; a new key goes after its last line that is
    // not blank.
    std::size_t last = header;
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        std::wstring_view name;
        if (SectionName(lines_[i], name)) {
            break;
        }
        const std::wstring_view line = Trimmed(lines_[i]);
        if (line.empty()) {
            continue;
        }
        last = i;
        const std::size_t equals = line.find(L'=');
        if (line.front() == L';' || equals == std::wstring_view::npos ||
            !EqualNoCase(Trimmed(line.substr(0, equals)), key)) {
            continue;
        }
        const std::size_t at = lines_[i].find(L'=');
        lines_[i] = lines_[i].substr(0, at + 1) + entry;
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                  std::wstring(key) + L"=" + entry);
}

bool CIniText::Save(const std::wstring& path) const {
    std::wstring text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i];
        if (i + 1 < lines_.size() || endsWithLineBreak_) {
            text += L"\r\n";
        }
    }
    std::string bytes = encoding_ == Encoding::Utf8 ? kUtf8Mark : "";
    const bool asCodePage = encoding_ != Encoding::Utf16 &&
                            Encoded(text, encoding_ == Encoding::Utf8 ? CP_UTF8 : CP_ACP, bytes);
    if (!asCodePage) {
        bytes.assign(kUtf16Mark, 2);
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    }
    const std::wstring between = path + L".saving";
    if (!WriteWhole(between, bytes)) {
        DeleteFileW(between.c_str());
        return false;
    }
    if (!MoveFileExW(between.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(between.c_str());
        return false;
    }
    return true;
}
