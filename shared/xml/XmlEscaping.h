#pragma once

#include <string>
#include <string_view>

// Escapes "<", "&" and ">" (with XmlEditFlag::EscapeQuotes also the apostrophe and the double
// quote); with XmlEditFlag::KeepReferences an "&" that starts a reference stays as it is.
std::wstring EscapeText(std::wstring_view text, unsigned flags = 0);

// Decodes character references: decimal and hexadecimal numbers and the named references.
// An "&" that starts no valid reference stays a plain character.
std::wstring UnescapeText(std::wstring_view text);

// A CDATA section holding the text; a "]]>" inside is split across two sections.
std::wstring EncodeCData(std::wstring_view text);
