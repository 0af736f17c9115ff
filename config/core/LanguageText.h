#pragma once

#include "shared/xml/CXmlDocument.h"

#include <map>
#include <string>
#include <string_view>

// The texts of the language file ("Strings.xml" in the program folder). The file is parsed once,
// on the first look-up, and every text is kept once found: menus and captions ask for dozens of
// them at a time. Look-ups follow ReadXmlValue: the text of the first element `child` inside the
// first element `element`, searching further down through nested elements of that name; empty
// when the file or the text is missing.
class LanguageText {
public:
    LanguageText() = default;
    explicit LanguageText(std::wstring path) : m_path(std::move(path)) {}

    // Names another file; what was read from the previous one is forgotten.
    void SetPath(std::wstring path);
    const std::wstring& Path() const { return m_path; }

    const std::wstring& Text(std::wstring_view element, std::wstring_view child) const;
    // A text of element "BUTTONPAGE", where the menus and captions keep their keywords.
    const std::wstring& ButtonPage(std::wstring_view keyword) const {
        return Text(L"BUTTONPAGE", keyword);
    }

private:
    std::wstring m_path;
    mutable bool m_loaded = false;
    mutable CXmlDocument m_document;
    mutable std::map<std::wstring, std::wstring, std::less<>> m_texts;
};
