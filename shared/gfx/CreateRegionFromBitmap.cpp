#include "shared/gfx/CreateRegionFromBitmap.h"

#include "shared/gfx/CMemoryDC.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Runs are turned into a region in batches, so that a large picture costs one platform call
// per batch rather than one per run.
constexpr std::size_t kRunsPerBatch = 2000;

struct ChannelRange {
    std::uint8_t low;
    std::uint8_t high;
    bool Contains(std::uint8_t value) const { return value >= low && value <= high; }
};

ChannelRange MakeRange(unsigned keyByte, unsigned toleranceByte) {
    return {static_cast<std::uint8_t>(keyByte),
            static_cast<std::uint8_t>(std::min(255u, keyByte + toleranceByte))};
}

class RunCollector {
public:
    RunCollector() { m_runs.reserve(kRunsPerBatch); }

    // False when the platform could not make a region of the runs.
    bool Add(LONG left, LONG right, LONG y) {
        m_runs.push_back(RECT{left, y, right, y + 1});
        m_bound.left = std::min(m_bound.left, left);
        m_bound.top = std::min(m_bound.top, y);
        m_bound.right = std::max(m_bound.right, right);
        m_bound.bottom = std::max(m_bound.bottom, y + 1);
        return m_runs.size() < kRunsPerBatch || Flush();
    }

    bool Flush() {
        std::vector<std::byte> data(sizeof(RGNDATAHEADER) + m_runs.size() * sizeof(RECT));
        RGNDATAHEADER header{};
        header.dwSize = sizeof(RGNDATAHEADER);
        header.iType = RDH_RECTANGLES;
        header.nCount = static_cast<DWORD>(m_runs.size());
        header.nRgnSize = static_cast<DWORD>(m_runs.size() * sizeof(RECT));
        header.rcBound = m_runs.empty() ? RECT{0, 0, 0, 0} : m_bound;
        std::memcpy(data.data(), &header, sizeof(header));
        if (!m_runs.empty())
            std::memcpy(data.data() + sizeof(header), m_runs.data(), m_runs.size() * sizeof(RECT));
        winlayer::RegionHandle batch(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                         reinterpret_cast<const RGNDATA*>(data.data())));
        m_runs.clear();
        m_bound = kEmptyBound;
        if (!batch)
            return false;
        if (!m_result)
            m_result = std::move(batch);
        else if (CombineRgn(m_result.Get(), m_result.Get(), batch.Get(), RGN_OR) == ERROR)
            return false;
        return true;
    }

    winlayer::RegionHandle TakeResult() { return std::move(m_result); }

private:
    static constexpr RECT kEmptyBound{LONG_MAX, LONG_MAX, 0, 0};
    std::vector<RECT> m_runs;
    RECT m_bound = kEmptyBound;
    winlayer::RegionHandle m_result;
};

} // namespace

winlayer::RegionHandle CreateRegionFromBitmap(HBITMAP bitmap, COLORREF keyColour, COLORREF tolerance) {
    if (bitmap == nullptr)
        return {};
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof(info), &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
        return {};
    const LONG width = info.bmWidth;
    const LONG height = info.bmHeight;

    // A 32-bit top-down copy: row y starts at y * width pixels, channels in memory order
    // blue, green, red.
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    winlayer::BitmapHandle work(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!work || bits == nullptr)
        return {};
    {
        CMemoryDC source(nullptr, bitmap);
        CMemoryDC target(source.Get(), work.Get());
        if (!source.IsValid() || !target.IsValid() ||
            !BitBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY))
            return {};
    }
    GdiFlush();

    const ChannelRange red = MakeRange(GetRValue(keyColour), GetRValue(tolerance));
    const ChannelRange green = MakeRange(GetGValue(keyColour), GetGValue(tolerance));
    const ChannelRange blue = MakeRange(GetBValue(keyColour), GetBValue(tolerance));
    const auto* pixels = static_cast<const std::array<std::uint8_t, 4>*>(bits);
    auto seeThrough = [&](const std::array<std::uint8_t, 4>& pixel) {
        return blue.Contains(pixel[0]) && green.Contains(pixel[1]) && red.Contains(pixel[2]);
    };

    RunCollector runs;
    for (LONG y = 0; y < height; ++y) {
        const auto* row = pixels + static_cast<std::size_t>(y) * width;
        LONG x = 0;
        while (x < width) {
            while (x < width && seeThrough(row[x]))
                ++x;
            if (x == width)
                break;
            const LONG left = x;
            while (x < width && !seeThrough(row[x]))
                ++x;
            if (!runs.Add(left, x, y))
                return {};
        }
    }
    if (!runs.Flush())
        return {};
    return runs.TakeResult();
}
