#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// A text file opened for one load or save of a document: it finds or writes the byte-order
// mark, picks the encoding and builds a short diagnostic sentence of what it found and did.
class XmlFileText {
public:
    // Reads a file into wide text. `flags` are the document flags; the mark bits found are
    // handed back in them. `forced` names an encoding that overrides the detected one.
    static bool ReadWholeFile(const std::wstring& path, std::wstring& text, std::wstring& result,
                              unsigned& flags, std::wstring_view forced = {});
    // Writes wide text in the encoding the flags' mark bits, the text's own declaration or
    // `forced` choose. Nothing is written when the text cannot be converted.
    static bool WriteWholeFile(const std::wstring& path, std::wstring_view text,
                               std::wstring& result, unsigned& flags,
                               std::wstring_view forced = {});

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    explicit XmlFileText(unsigned flags) : m_flags(flags) {}
    enum class Mode { Read, Write, Append };
    // Opens the file; a file opened for reading has its mark and encoding found.
    bool OpenFileStream(const std::wstring& path, Mode mode);
    bool Read(void* buffer, std::size_t bytes);
    bool Decode(std::wstring& text, std::wstring& status);
    void Force(std::wstring_view forced, std::wstring& result);

    std::unique_ptr<std::FILE, FileCloser> m_file;
    unsigned m_flags;
    std::uint64_t m_remaining = 0;
    int m_width = 1;
    std::wstring m_encoding; // empty: the system ANSI code page
    std::wstring m_status;
};

// The system's message for the calling thread's last error, on one line.
std::wstring FormatLastErrorText();
