#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <span>

// The seven stage markers' shared arrays: which markers follow the mouse, whose light is drawn
// (a stack of markers on one position shows one light), and each marker's position.
struct MarkerArrays {
    static constexpr int kCount = 7;
    std::array<int, kCount> selected{};
    std::array<int, kCount> shown{};
    std::array<int, kCount> position{};
};

// A marker released after a drag: its position and index, as the bar reports them.
struct MarkerRelease {
    int position = 0;
    int index = 0;
};

// Seven markers on a track of positions 14 pixels apart, dragged with the mouse. A dragged marker
// pushes the neighbour it meets into its group, which then moves as one; a grabbed stack gives
// up its lowest marker when moved left and its highest when moved right.
class CMarkerTrack {
public:
    static constexpr int kPitch = 14;
    static constexpr int kHeight = 39;
    static constexpr int kLastPosition = 20;

    explicit CMarkerTrack(MarkerArrays& arrays);

    void SetRange(int minimum, int maximum);
    // Takes at most seven values; the rest are ignored.
    void SetPositions(std::span<const int> values);

    // Returns true when the press grabbed a marker (the caller then captures the mouse).
    bool ButtonDown(POINT cursor);
    // Returns true when the markers moved (the caller redraws).
    bool MouseMove(int cursorX);
    // The release to report, when a drag was going on.
    std::optional<MarkerRelease> ButtonUp();

    bool Dragging() const { return m_dragging; }
    bool StackGrabbed() const { return m_stackGrabbed; }
    int Current() const { return m_current; }
    const RECT& MarkerRect(int index) const { return m_rects[index]; }
    static RECT RectForPosition(int position);

private:
    void SplitStack(int p, int first, int last, int count);
    bool MoveGroup(int p, int first, int count);
    void SetSelectedPositions(int position);
    void RectsFromPositions();

    MarkerArrays& m_arrays;
    std::array<RECT, MarkerArrays::kCount> m_rects{};
    int m_min = 0;
    int m_max = 10;
    int m_current = 0;
    int m_grabOffset = 0;
    bool m_dragging = false;
    bool m_stackGrabbed = false;
};
