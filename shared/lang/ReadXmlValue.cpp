#include "shared/lang/ReadXmlValue.h"

#include "shared/xml/CXmlDocument.h"

std::wstring ReadXmlValue(const std::wstring& file, std::wstring_view element,
                          std::wstring_view child) {
    CXmlDocument document;
    if (!document.LoadFile(file))
        return {};
    if (!document.FindChildElement(element))
        return {};
    document.EnterElement();
    while (!document.FindChildElement(child)) {
        if (!document.FindChildElement(element))
            return {};
        document.EnterElement();
    }
    return document.GetChildText();
}
