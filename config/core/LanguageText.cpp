#include "config/core/LanguageText.h"

void LanguageText::SetPath(std::wstring path) {
    m_path = std::move(path);
    m_loaded = false;
    m_document = CXmlDocument();
    m_texts.clear();
}

const std::wstring& LanguageText::Text(std::wstring_view element, std::wstring_view child) const {
    std::wstring key(element);
    key += L'\n';
    key += child;
    if (const auto found = m_texts.find(key); found != m_texts.end()) {
        return found->second;
    }
    if (!m_loaded) {
        m_loaded = true;
        if (!m_document.LoadFile(m_path)) {
            m_document = CXmlDocument();
        }
    }
    std::wstring text;
    m_document.ResetPosition();
    if (m_document.FindChildElement(element)) {
        m_document.EnterElement();
        bool found = true;
        while (!m_document.FindChildElement(child)) {
            if (!m_document.FindChildElement(element)) {
                found = false;
                break;
            }
            m_document.EnterElement();
        }
        if (found) {
            text = m_document.GetChildText();
        }
    }
    return m_texts.emplace(std::move(key), std::move(text)).first->second;
}
