#pragma once

// Bits of a document's flag word. The mark bits carry the file's encoding from LoadFile to
// SaveFile; Reading, Writing and Appending select how XmlFileText opens its file.
namespace XmlDocFlag {
inline constexpr unsigned Utf16LeMark = 0x1;
inline constexpr unsigned Utf8Mark = 0x4;
inline constexpr unsigned IgnoreCase = 0x8;
inline constexpr unsigned Reading = 0x10;
inline constexpr unsigned Writing = 0x20;
inline constexpr unsigned Appending = 0x40;
inline constexpr unsigned Utf16BeMark = 0x80;
inline constexpr unsigned Utf32LeMark = 0x200;
inline constexpr unsigned Utf32BeMark = 0x400;
inline constexpr unsigned AnyMark =
    Utf16LeMark | Utf8Mark | Utf16BeMark | Utf32LeMark | Utf32BeMark;
} // namespace XmlDocFlag

// Flags of the editing operations and of EscapeText.
namespace XmlEditFlag {
inline constexpr unsigned WithCData = 0x1;
inline constexpr unsigned NoLineBreak = 0x2;
inline constexpr unsigned SpaceBeforeSlash = 0x4;
inline constexpr unsigned KeepReferences = 0x8;
inline constexpr unsigned NoEndTag = 0x10;
inline constexpr unsigned EscapeQuotes = 0x100;
inline constexpr unsigned Before = 0x2000;
inline constexpr unsigned AsChild = 0x4000;
} // namespace XmlEditFlag

// Kinds of markup nodes, as bits so that SeekNode can take a mask of them.
namespace XmlNode {
inline constexpr int Element = 1;
inline constexpr int Text = 2;
inline constexpr int Whitespace = 4;
inline constexpr int CData = 8;
inline constexpr int ProcessingInstruction = 16;
inline constexpr int Comment = 32;
inline constexpr int DocumentType = 64;
inline constexpr int StrayEndTag = 128;
inline constexpr int IllFormed = 0x8000;
} // namespace XmlNode
