#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// An ini file's text in memory, changed key by key and written back whole (WholeFile): a reader
// finds the old file or the new one, never a part, and a failure leaves the old file as it was.
// Every line that no change names stays as it was: comments, blank lines, lines without '=',
// other sections and keys, their order, the file's encoding. The caller holds the data folder's
// lock (CDataFolderLock) from the load to the save.
class CIniText {
public:
    // Reads the whole file: UTF-16 after its mark (either byte order), UTF-8 after its mark,
    // else the system's code page. A missing or empty file gives an empty text kept as
    // UTF-16LE, so that any name survives, with `missing` set when given; false when the file
    // exists but could not be read.
    bool Load(const std::wstring& path, bool* missing = nullptr);

    // What a key write of the platform leaves: the first key of that name (without regard to
    // case, a line without '=' naming it included) in the first section of that name takes the
    // value and keeps its spelling; a missing key follows the section's last line that is not
    // blank, a missing section ends the file. CR and LF are removed from all three.
    void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    // Replaces every line of the section but its blank ones with the entries ("key=value"
    // each); without entries the section goes, name and all.
    void ReplaceSection(std::wstring_view section, std::span<const std::wstring> entries);

    // Whether any change made the text differ from what was loaded.
    bool Changed() const { return changed_; }

    // Writes the text in the file's place in one step; false, with the file as it was, when
    // that failed. The text keeps the file's encoding unless its code page cannot hold it: then
    // it is written as UTF-16LE. Without replaceExisting an existing file fails the save.
    bool Save(const std::wstring& path, bool replaceExisting = true) const;

private:
    enum class Encoding { Utf16, Utf16BigEndian, Utf8, CodePage };

    // The index of the first section header of that name, or the line count.
    std::size_t FindSection(std::wstring_view section) const;
    // The index after the section's last line (the next header's, or the line count).
    std::size_t SectionEnd(std::size_t header) const;

    std::vector<std::wstring> lines_;
    Encoding encoding_ = Encoding::Utf16;
    bool endsWithLineBreak_ = true;
    bool changed_ = false;
};
