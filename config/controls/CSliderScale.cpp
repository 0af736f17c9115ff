#include "config/controls/CSliderScale.h"

void CSliderScale::SetRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = maximum;
}

int CSliderScale::Normalize(int value) const {
    return (value < m_min || value > m_max) ? m_min : value;
}

int CSliderScale::Clamp(int value) const {
    if (value > m_max) {
        value = m_max;
    }
    if (value < m_min) {
        value = m_min;
    }
    return value;
}

int CSliderScale::ThumbLeft(int value, int trackStart, int trackEnd, int thumbWidth) const {
    const int range = m_max - m_min;
    if (range == 0) {
        return trackStart;
    }
    return (trackEnd - trackStart - thumbWidth) * (Normalize(value) - m_min) / range + trackStart;
}

int CSliderScale::ValueFromThumbLeft(int x, int trackStart, int trackEnd, int thumbWidth) const {
    const int freeWidth = trackEnd - thumbWidth - trackStart;
    if (freeWidth <= 0 || m_max == m_min) {
        return m_min;
    }
    const int v = (x - trackStart) * (m_max - m_min) / freeWidth + m_min;
    return Clamp(RoundToStep(v, x, trackStart, trackEnd - trackStart));
}

int CSliderScale::ValueFromClick(int x, int left, int right) const {
    if (right <= left || m_max == m_min) {
        return m_min;
    }
    const int v = (x - left) * (m_max - m_min) / (right - left) + m_min;
    return Clamp(RoundToStep(v, x, left, right - left));
}

int CSliderScale::RoundToStep(int v, int x, int origin, int span) const {
    const int step = span / (m_max - m_min);
    return (x - step * (v - m_min) - origin > step / 2) ? v + 1 : v;
}
