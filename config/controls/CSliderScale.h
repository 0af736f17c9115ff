#pragma once

// Value range of a slider and the conversions between values and pixel positions on its track.
// All divisions truncate, as the thumb and track positions are whole pixels.
class CSliderScale {
public:
    void SetRange(int minimum, int maximum);
    int Minimum() const { return m_min; }
    int Maximum() const { return m_max; }

    // A value outside the range stands for the minimum.
    int Normalize(int value) const;
    int Clamp(int value) const;
    // Left edge of a thumb of the given width showing the value on the track [start, end].
    int ThumbLeft(int value, int trackStart, int trackEnd, int thumbWidth) const;
    // Value of a thumb dropped with its left edge at x.
    int ValueFromThumbLeft(int x, int trackStart, int trackEnd, int thumbWidth) const;
    // Value of a click at x on a track spanning [left, right].
    int ValueFromClick(int x, int left, int right) const;

private:
    // Truncated value v plus one when x lies more than half a step past v's place.
    int RoundToStep(int v, int x, int origin, int span) const;

    int m_min = 0;
    int m_max = 10;
};
