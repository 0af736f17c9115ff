#pragma once

#include <string>
#include <string_view>
#include <vector>

// An ini file's text in memory, changed key by key and written back whole: the file is replaced
// in one step, so a reader finds the old file or the new one, never a part, and a failure leaves
// the old file as it was. Every line that no change names stays as it was: comments, lines
// without '=', other sections and keys, their order. The caller holds the data folder's lock
// (CDataFolderLock) from the load to the save.
class CIniText {
public:
    // Reads the whole file: UTF-16LE or UTF-8 after their marks, else the system's code page. A
    // missing file gives an empty text; false when the file exists but could not be read.
    bool Load(const std::wstring& path);

    // What a key write of the platform leaves: the first key of that name (without regard to
    // case) in the first section of that name takes the value and keeps its spelling; a missing
    // key follows the section's last line, a missing section ends the file. CR and LF are
    // removed from the value.
    void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);

    // Writes the text beside the file and puts it in the file's place; false, with the file as
    // it was, when either step failed. The text keeps the file's encoding, unless the code page
    // cannot hold it: then it is written as UTF-16LE.
    bool Save(const std::wstring& path) const;

private:
    enum class Encoding { Utf16, Utf8, CodePage };

    // The index of the first section header of that name, or the line count.
    std::size_t FindSection(std::wstring_view section) const;

    std::vector<std::wstring> lines_;
    Encoding encoding_ = Encoding::Utf16;
    bool endsWithLineBreak_ = true;
};
