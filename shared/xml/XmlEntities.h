#pragma once

#include <span>
#include <string_view>

// A named character reference.
struct XmlEntity {
    std::wstring_view name;
    char16_t value;
};

// The 253 names: the HTML 4 character entity set and "apos".
std::span<const XmlEntity> XmlEntities();

// The value of a named reference, ignoring the case of ASCII letters but preferring the name
// that matches exactly ("Eacute" against "eacute"); 0 for an unknown name.
char16_t FindXmlEntity(std::wstring_view name);
