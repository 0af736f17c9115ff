#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CIniText;

// One ini file, named by its path. Every call holds the data folder's lock (CDataFolderLock)
// while it reads or writes the file; an operation of several calls holds it around them all. A
// lock that cannot be had fails a write, leaves a section unread and gives a value's default.
// Reads go through the platform's private-profile functions; every write puts the file's whole
// new text in its place in one step (CIniText), so the file is never seen half written.
class CIniFile {
public:
    static constexpr std::size_t kDefaultCapacity = 4096;
    // The room an integer value is read with; longer values are cut there before the parse.
    static constexpr std::size_t kIntCapacity = 64;

    explicit CIniFile(std::wstring path);

    const std::wstring& Path() const { return path_; }

    // Loads the file's text, lets `change` change it and puts it in the file's place, unless it
    // is unchanged. False when the file could not be read or written: it is as it was then.
    bool Change(const std::function<void(CIniText&)>& change) const;
    // The same from an empty text: nothing of the old file stays.
    bool Replace(const std::function<void(CIniText&)>& fill) const;

    // One key, through Change. A file that does not exist yet is made UTF-16LE so that any
    // name survives. CR and LF are removed from sections, keys and values: they would start
    // lines of their own.
    bool WriteString(std::wstring_view section, std::wstring_view key,
                     std::wstring_view text) const;
    bool WriteInt(std::wstring_view section, std::wstring_view key, int value) const;
    // Writes the bytes as two upper-case hex digits each followed by the two digits of their
    // sum modulo 256 (the platform's structure format).
    bool WriteStruct(std::wstring_view section, std::wstring_view key,
                     std::span<const std::uint8_t> bytes) const;

    // The decimal value, or defaultValue when the key is missing or holds no number. Values
    // outside the int range are clamped to it.
    int ReadInt(std::wstring_view section, std::wstring_view key, int defaultValue) const;
    // The text, or defaultValue when the key is missing. At most capacity - 1 characters are
    // returned (a longer value is cut there).
    std::wstring ReadString(std::wstring_view section, std::wstring_view key,
                            std::wstring_view defaultValue,
                            std::size_t capacity = kDefaultCapacity) const;
    // Fills bytes only when the value is present and well-formed: exactly 2 * size + 2 hex
    // digits whose checksum matches. Otherwise bytes are left as they were and false returned.
    bool ReadStruct(std::wstring_view section, std::wstring_view key,
                    std::span<std::uint8_t> bytes) const;

    // A section as the platform lists it: "key=value" entries, each ended by a zero; empty for a
    // missing or empty section or file. Nothing when the file exists but could not be read (a
    // writer holding it, no access): that is not an empty section.
    std::optional<std::vector<wchar_t>> ReadSectionText(std::wstring_view section) const;
    // The entries of such a list, without their zeros.
    static std::vector<std::wstring_view> ListEntries(std::span<const wchar_t> list);
    // Replaces the section's keys with the entries ("key=value" each); none removes the
    // section.
    bool ReplaceSection(std::wstring_view section, std::span<const std::wstring> entries) const;

    // The text with CR and LF removed, as every write stores it.
    static std::wstring WithoutLineBreaks(std::wstring_view text);

    // The integer format itself: ReadInt's parse of a value read.
    static int ParseInt(std::wstring_view text, int defaultValue);
    // The room a structure of size bytes is read with: more digits than expected, so that an
    // over-long value shows as such.
    static constexpr std::size_t StructCapacity(std::size_t size) { return size * 2 + 4; }

    // The structure format itself, for values that travel outside an ini file.
    static std::wstring EncodeStruct(std::span<const std::uint8_t> bytes);
    static bool DecodeStruct(std::wstring_view text, std::span<std::uint8_t> bytes);

private:
    bool Write(bool keepOldText, const std::function<void(CIniText&)>& change) const;

    std::wstring path_;
};
