#include "config/controls/LinkedFontFace.h"

#include "shared/store/RegKey.h"
#include "winlayer/GdiObject.h"
#include "winlayer/MemoryDC.h"
#include "winlayer/ObjectSelection.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {
constexpr wchar_t kLinks[] =
    L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";

// The characters of the text that the face has no glyph for.
std::wstring Missing(const std::wstring& face, std::wstring_view text) {
    const winlayer::MemoryDC dc(nullptr);
    const winlayer::FontHandle font(
        CreateFontW(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0, face.c_str()));
    const winlayer::ObjectSelection selection(dc.Get(), font.Get());
    std::vector<WORD> glyphs(text.size());
    if (GetGlyphIndicesW(dc.Get(), text.data(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return {};
    }
    std::wstring missing;
    for (size_t i = 0; i < text.size(); ++i) {
        if (glyphs[i] == 0xFFFF) {
            missing += text[i];
        }
    }
    return missing;
}

// The faces of the face's link list: each entry is "file,face" with optional scaling after.
std::vector<std::wstring> LinkedFaces(const std::wstring& face) {
    RegKey key;
    if (!key.Open(kLinks, KEY_READ, false)) {
        return {};
    }
    std::vector<std::uint8_t> bytes(8192);
    DWORD size = 0;
    if (!key.ReadValue(face, bytes, size)) {
        return {};
    }
    const std::wstring_view list(reinterpret_cast<const wchar_t*>(bytes.data()),
                                 size / sizeof(wchar_t));
    std::vector<std::wstring> faces;
    for (size_t start = 0; start < list.size();) {
        const size_t end = std::min(list.find(L'\0', start), list.size());
        const std::wstring_view entry = list.substr(start, end - start);
        if (const size_t comma = entry.find(L','); comma != std::wstring_view::npos) {
            const std::wstring_view name = entry.substr(comma + 1);
            faces.emplace_back(name.substr(0, name.find(L',')));
        }
        start = end + 1;
    }
    return faces;
}
} // namespace

std::wstring LinkedFontFace(const std::wstring& face, std::wstring_view text) {
    const std::wstring missing = Missing(face, text);
    if (missing.empty()) {
        return face;
    }
    for (const std::wstring& linked : LinkedFaces(face)) {
        if (!linked.empty() && Missing(linked, missing).empty()) {
            return linked;
        }
    }
    return face;
}
