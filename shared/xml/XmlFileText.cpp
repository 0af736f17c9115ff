#include "shared/xml/XmlFileText.h"

#include "shared/xml/XmlFlags.h"
#include "shared/xml/XmlTextEncoding.h"
#include "shared/xml/XmlUnicode.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <io.h>

namespace {

struct ByteOrderMark {
    std::string_view bytes;
    const wchar_t* name;
    unsigned flag;
    int width;
};

// Tried in this order on reading; the UTF-32 marks come before the UTF-16 ones they start with.
constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", L"UTF-8", XmlDocFlag::Utf8Mark, 1},
    {std::string_view("\xFF\xFE\0\0", 4), L"UTF-32LE", XmlDocFlag::Utf32LeMark, 4},
    {"\xFF\xFE", L"UTF-16LE", XmlDocFlag::Utf16LeMark, 2},
    {std::string_view("\0\0\xFE\xFF", 4), L"UTF-32BE", XmlDocFlag::Utf32BeMark, 4},
    {"\xFE\xFF", L"UTF-16BE", XmlDocFlag::Utf16BeMark, 2},
};

const ByteOrderMark* MarkOfFlags(unsigned flags) {
    for (const ByteOrderMark& mark : kMarks) {
        if (flags & mark.flag)
            return &mark;
    }
    return nullptr;
}

std::wstring Counted(const wchar_t* format, std::size_t count) {
    wchar_t buffer[64];
    std::swprintf(buffer, std::size(buffer), format, static_cast<int>(count));
    return buffer;
}

void SwapUnits(char* bytes, std::size_t count, int width) {
    for (std::size_t i = 0; i < count; ++i)
        std::reverse(bytes + i * width, bytes + (i + 1) * width);
}

bool FileHasBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    return data.nFileSizeLow != 0 || data.nFileSizeHigh != 0;
}

// Replaces surrogates without a partner by "?", so the text is valid UTF-16.
void ReplaceUnpairedSurrogates(std::wstring& text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        if (DecodeUtf16(text, i) == U'?' && text[at] != L'?')
            text[at] = L'?';
    }
}

} // namespace

std::wstring FormatLastErrorText() {
    const DWORD error = GetLastError();
    wchar_t buffer[101] = {};
    if (!FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                        0, buffer, 100, nullptr))
        return L"Error " + std::to_wstring(error);
    std::wstring text(buffer);
    return text.substr(0, text.find_first_of(L"\r\n"));
}

bool XmlFileText::Read(void* buffer, std::size_t bytes) {
    if (std::fread(buffer, 1, bytes, m_file.get()) == bytes)
        return true;
    m_status = FormatLastErrorText();
    return false;
}

bool XmlFileText::OpenFileStream(const std::wstring& path, Mode mode) {
    std::FILE* file = _wfopen(path.c_str(), mode == Mode::Append  ? L"ab"
                                            : mode == Mode::Write ? L"wb"
                                                                  : L"rb");
    if (!file) {
        m_status = FormatLastErrorText();
        return false;
    }
    m_file.reset(file);
    if (mode != Mode::Read) {
        return true;
    }
    const long long size = _filelengthi64(_fileno(file));
    if (size < 0) {
        m_status = FormatLastErrorText();
        return false;
    }
    // A mark of an earlier file must not carry over to this one.
    m_flags &= ~XmlDocFlag::AnyMark;
    m_remaining = static_cast<std::uint64_t>(size);
    const ByteOrderMark* found = nullptr;
    if (size > 0) {
        std::string block(static_cast<std::size_t>(std::min<long long>(size, 1024)), '\0');
        if (!Read(block.data(), block.size()))
            return false;
        for (const ByteOrderMark& mark : kMarks) {
            if (block.starts_with(mark.bytes)) {
                found = &mark;
                break;
            }
        }
        if (found) {
            m_remaining -= found->bytes.size();
            m_flags |= found->flag;
            m_width = found->width;
            m_encoding = found->name;
        } else {
            std::wstring head;
            for (std::size_t i = 0; i < block.size();) {
                wchar_t units[2];
                head.append(units, EncodeUtf16(DecodeUtf8(block, i), units));
            }
            m_encoding = FindDeclaredEncoding(head);
            if (m_encoding.empty() && block[0] == '<')
                m_encoding = L"UTF-8";
        }
        if (_fseeki64(file, found ? static_cast<long long>(found->bytes.size()) : 0, SEEK_SET) !=
            0) {
            m_status = FormatLastErrorText();
            return false;
        }
    }
    if (!m_encoding.empty())
        m_status = m_encoding + (found ? L" BOM +" : L"") + L" ";
    return true;
}

void XmlFileText::Force(std::wstring_view forced, std::wstring& result) {
    if (forced.empty() || forced == m_encoding || m_width != 1)
        return;
    m_encoding = forced;
    result += L"forced " + std::wstring(forced) + L" ";
}

bool XmlFileText::Decode(std::wstring& text, std::wstring& status) {
    if (m_remaining == 0) {
        status = L"0 length ";
        return true;
    }
    const std::size_t size = static_cast<std::size_t>(m_remaining);
    if (m_width == 2) {
        // Room for a trailing odd byte, which is then dropped.
        text.resize((size + 1) / 2);
        if (!Read(text.data(), size))
            return false;
        text.resize(size / 2);
        status = Counted(L"length %d ", text.size());
        const std::size_t nulls = std::erase(text, L'\0');
        if (nulls > 0)
            status += Counted(L"(%d nulls removed) ", nulls);
        if (m_flags & XmlDocFlag::Utf16BeMark) {
            SwapUnits(reinterpret_cast<char*>(text.data()), text.size(), 2);
            status += L"endian swap ";
        }
        ReplaceUnpairedSurrogates(text);
        return true;
    }
    std::string bytes(size, '\0');
    if (!Read(bytes.data(), size))
        return false;
    if (m_width == 4) {
        // UTF-32 keeps its zero bytes: they are part of every character.
        bytes.resize(size / 4 * 4);
        status = Counted(L"length %d ", bytes.size() / 4);
        if (m_flags & XmlDocFlag::Utf32BeMark) {
            SwapUnits(bytes.data(), bytes.size() / 4, 4);
            status += L"endian swap ";
        }
    } else {
        status = Counted(L"length %d ", bytes.size());
        const std::size_t nulls = std::erase(bytes, '\0');
        if (nulls > 0)
            status += Counted(L"(%d nulls removed) ", nulls);
        if (m_encoding.empty()) {
            if (IsValidUtf8(bytes))
                m_encoding = L"UTF-8";
            status += L"(used UTF-8 detection) ";
        }
    }
    const std::size_t count = ConvertTextEncoding(L"UTF-16", m_encoding, bytes).units;
    text.reserve(count + count / 100);
    text.resize(count);
    ConvertTextEncoding(L"UTF-16", m_encoding, bytes,
                        {reinterpret_cast<char*>(text.data()), text.size() * 2});
    status += Counted(L"to %d wide chars ", count);
    return true;
}

bool XmlFileText::ReadWholeFile(const std::wstring& path, std::wstring& text, std::wstring& result,
                                unsigned& flags, std::wstring_view forced) {
    XmlFileText file(flags | XmlDocFlag::Reading);
    text.clear();
    if (!file.OpenFileStream(path, Mode::Read)) {
        result = file.m_status;
        return false;
    }
    result = file.m_status;
    file.Force(forced, result);
    std::wstring status;
    if (!file.Decode(text, status)) {
        text.clear();
        result = file.m_status;
        return false;
    }
    file.m_file.reset();
    if (result.empty())
        result = (file.m_encoding.empty() ? std::wstring(L"ANSI") : file.m_encoding) + L" ";
    result += status;
    flags = file.m_flags & ~XmlDocFlag::Reading;
    return true;
}

bool XmlFileText::WriteWholeFile(const std::wstring& path, std::wstring_view text,
                                 std::wstring& result, unsigned& flags, std::wstring_view forced) {
    XmlFileText file(flags | XmlDocFlag::Writing);
    const bool appending = (flags & XmlDocFlag::Appending) != 0;
    // Only an empty file gets a mark.
    const ByteOrderMark* mark = MarkOfFlags(flags);
    if (mark && appending && FileHasBytes(path))
        mark = nullptr;
    if (mark) {
        file.m_encoding = mark->name;
        file.m_width = mark->width;
        result = file.m_encoding + L" BOM + ";
    } else {
        result.clear();
        std::wstring declared = FindDeclaredEncoding(text);
        if (declared.empty() && text.starts_with(L'<'))
            declared = L"UTF-8";
        if (!declared.empty()) {
            file.m_encoding = declared;
            result += declared + L" ";
        }
    }
    file.Force(forced, result);

    // The text is encoded before the file is touched: a failed conversion leaves it as it was.
    std::string bytes;
    std::wstring status;
    std::size_t units = 0;
    bool converted = false;
    XmlConversion conversion;
    const unsigned codePage = CodePageOfEncoding(file.m_encoding);
    const bool utf16 = (flags & (XmlDocFlag::Utf16LeMark | XmlDocFlag::Utf16BeMark)) ||
                       codePage == XmlCodePage::Utf16 || codePage == XmlCodePage::Utf16BigEndian;
    const bool bigEndian =
        (flags & (XmlDocFlag::Utf16BeMark | XmlDocFlag::Utf32BeMark)) ||
        (!(flags & XmlDocFlag::AnyMark) && codePage == XmlCodePage::Utf16BigEndian);
    if (text.empty()) {
        status = L"0 length ";
    } else if (utf16) {
        bytes.assign(reinterpret_cast<const char*>(text.data()), text.size() * 2);
        units = text.size();
        file.m_width = 2;
    } else {
        const std::wstring target = (flags & (XmlDocFlag::Utf32LeMark | XmlDocFlag::Utf32BeMark))
                                        ? L"UTF-32"
                                        : file.m_encoding;
        const std::string_view wide(reinterpret_cast<const char*>(text.data()), text.size() * 2);
        const std::size_t count = ConvertTextEncoding(target, L"UTF-16", wide).units;
        if (count == 0) {
            result = FormatLastErrorText();
            return false;
        }
        file.m_width = CodePageOfEncoding(target) == XmlCodePage::Utf32 ? 4 : 1;
        bytes.assign(count * file.m_width, '\0');
        conversion = ConvertTextEncoding(target, L"UTF-16", wide, bytes);
        units = count;
        converted = true;
    }
    if (bigEndian && file.m_width > 1) {
        SwapUnits(bytes.data(), units, file.m_width);
        status += L"endian swap ";
    }

    if (!file.OpenFileStream(path, appending ? Mode::Append : Mode::Write)) {
        result = file.m_status;
        return false;
    }
    std::FILE* stream = file.m_file.get();
    if ((mark &&
         std::fwrite(mark->bytes.data(), 1, mark->bytes.size(), stream) != mark->bytes.size()) ||
        (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size())) {
        result = FormatLastErrorText();
        return false;
    }
    if (!bytes.empty()) {
        status += Counted(L"length %d ", units);
        if (converted) {
            status += Counted(L"from wide length %d ", text.size());
            if (conversion.lost)
                status += L"(chars lost in conversion!) ";
        }
    }
    if (std::fclose(file.m_file.release()) != 0) {
        result = FormatLastErrorText();
        return false;
    }
    result += status;
    flags = file.m_flags & ~XmlDocFlag::Writing;
    return true;
}
