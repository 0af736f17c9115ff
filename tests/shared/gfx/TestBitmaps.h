#pragma once

#include "winlayer/GdiObject.h"

#include <filesystem>
#include <string>
#include <vector>

// Pictures for the tests: pixels are COLORREF values, row 0 first (the top row).
struct TestPicture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A 32-bit bitmap holding the picture.
winlayer::BitmapHandle MakeBitmap(const TestPicture& picture);

// The pixels of any bitmap, read back as 32-bit colours; empty when it cannot be read.
TestPicture ReadBitmap(HBITMAP bitmap);

// A fresh, empty folder under the temporary folder, removed with its files at the end.
class CTestFolder {
public:
    CTestFolder();
    CTestFolder(const CTestFolder&) = delete;
    CTestFolder& operator=(const CTestFolder&) = delete;
    ~CTestFolder();

    std::filesystem::path File(const std::wstring& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};
