#pragma once

#include "config/core/LanguageText.h"
#include "tests/shared/store/StoreTestSupport.h"

#include <fstream>
#include <string>
#include <vector>

// A language file in a temporary folder whose "BUTTONPAGE" text of each given keyword is
// "[KEYWORD]".
class ButtonPageTexts {
public:
    explicit ButtonPageTexts(const std::vector<std::wstring>& keywords)
        : m_folder(L"V212 Button Page Texts") {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Strings><BUTTONPAGE>";
        for (const std::wstring& keyword : keywords) {
            const std::string name(keyword.begin(), keyword.end());
            xml += "<" + name + ">[" + name + "]</" + name + ">\r\n";
        }
        xml += "</BUTTONPAGE></Strings>\r\n";
        WriteFileBytes(m_folder.File(L"Strings.xml"), xml);
        m_language.SetPath(m_folder.File(L"Strings.xml"));
    }

    const LanguageText& Language() const { return m_language; }
    static std::wstring Of(const std::wstring& keyword) { return L"[" + keyword + L"]"; }

private:
    TempFolder m_folder;
    LanguageText m_language;
};
