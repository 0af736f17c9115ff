#pragma once

#include <string>
#include <string_view>

// Which face draws a text that its interface face may lack glyphs for. Text drawn with GDI
// reaches the fonts the system links to a face (its "SystemLink" list); an edit control lays its
// text out by glyph and does not, so a name beyond the face's own characters shows as empty
// boxes. The answer is the face itself when it has every character, else the first face linked
// to it that has all the characters the face lacks, else the face.
std::wstring LinkedFontFace(const std::wstring& face, std::wstring_view text);
