#include "config/controls/CMarkerTrack.h"

#include <algorithm>

CMarkerTrack::CMarkerTrack(MarkerArrays& arrays) : m_arrays(arrays) {
    m_arrays.selected.fill(0);
    m_arrays.shown.fill(1);
}

void CMarkerTrack::SetRange(int minimum, int maximum) {
    m_min = minimum;
    m_max = maximum;
}

void CMarkerTrack::SetPositions(std::span<const int> values) {
    const size_t count = std::min<size_t>(values.size(), MarkerArrays::kCount);
    for (size_t i = 0; i < count; ++i) {
        m_arrays.position[i] = values[i];
        m_rects[i] = RectForPosition(values[i]);
    }
}

RECT CMarkerTrack::RectForPosition(int position) {
    const int left = kPitch * position - kPitch;
    return {left, 0, left + 13, kHeight};
}

bool CMarkerTrack::ButtonDown(POINT cursor) {
    if (m_dragging) {
        return false;
    }
    int count = 0;
    for (int i = 0; i < MarkerArrays::kCount; ++i) {
        if (PtInRect(&m_rects[i], cursor)) {
            m_current = i;
            m_grabOffset = cursor.x - (m_rects[i].left + m_rects[i].right) / 2;
            m_dragging = true;
            m_arrays.selected[i] = 1;
            ++count;
        } else {
            m_arrays.selected[i] = 0;
        }
    }
    m_stackGrabbed = count > 1;
    return m_dragging;
}

bool CMarkerTrack::MouseMove(int cursorX) {
    if (!m_dragging) {
        return false;
    }
    const int x = cursorX - m_grabOffset;
    const int p = std::clamp(x / kPitch + 1, 1, kLastPosition);
    int first = -1;
    int last = -1;
    int count = 0;
    for (int i = 0; i < MarkerArrays::kCount; ++i) {
        if (m_arrays.selected[i]) {
            if (first < 0) {
                first = i;
            }
            last = i;
            ++count;
        }
    }
    if (count == 0) {
        return false;
    }
    bool snapped = false;
    if (m_stackGrabbed) {
        SplitStack(p, first, last, count);
    } else {
        snapped = MoveGroup(p, first, count);
    }
    for (int i = 0; i < MarkerArrays::kCount; ++i) {
        if (!m_arrays.selected[i]) {
            continue;
        }
        m_rects[i] =
            snapped ? RectForPosition(m_arrays.position[i]) : RECT{x - 7, 0, x + 7, kHeight};
    }
    return true;
}

void CMarkerTrack::SplitStack(int p, int first, int last, int count) {
    auto& a = m_arrays;
    if (p < a.position[m_current]) {
        m_current = first;
        a.position[first] = p;
        if (a.shown[first] && first + 1 < MarkerArrays::kCount) {
            a.shown[first + 1] = 1;
            a.selected[first + 1] = 0;
        } else {
            a.shown[first] = 1;
            a.selected[first] = 1;
        }
        for (int i = first + 1; i < first + count && i < MarkerArrays::kCount; ++i) {
            a.selected[i] = 0;
        }
    } else if (p > a.position[m_current]) {
        m_current = last;
        a.position[last] = p;
        if (a.shown[last] && last >= 1) {
            a.shown[last - 1] = 1;
            a.selected[last - 1] = 0;
        } else {
            a.shown[last] = 1;
            a.selected[last] = 1;
        }
        for (int i = first; i < first + count - 1; ++i) {
            a.selected[i] = 0;
        }
    } else {
        return;
    }
    m_stackGrabbed = false;
}

bool CMarkerTrack::MoveGroup(int p, int first, int count) {
    auto& a = m_arrays;
    const int c = first;
    bool snapped = false;
    if (p <= m_min) {
        SetSelectedPositions(m_min);
        snapped = true;
    } else if (p >= m_max) {
        SetSelectedPositions(m_max);
        snapped = true;
    }
    bool pushed = false;
    if (c >= 1 && a.position[c - 1] >= p) {
        SetSelectedPositions(a.position[c - 1]);
        a.position[c - 1] = p;
        a.shown[c - 1] = 0;
        a.selected[c - 1] = 1;
        pushed = true;
    }
    if (c + count <= MarkerArrays::kCount - 1 && p >= a.position[c + count]) {
        SetSelectedPositions(a.position[c + count]);
        a.position[c + count] = p;
        a.shown[c + count] = 0;
        a.selected[c + count] = 1;
        pushed = true;
    }
    if (!pushed) {
        SetSelectedPositions(p);
    }
    return snapped || pushed;
}

void CMarkerTrack::SetSelectedPositions(int position) {
    for (int i = 0; i < MarkerArrays::kCount; ++i) {
        if (m_arrays.selected[i]) {
            m_arrays.position[i] = position;
        }
    }
}

std::optional<MarkerRelease> CMarkerTrack::ButtonUp() {
    if (!m_dragging) {
        return std::nullopt;
    }
    m_dragging = false;
    RectsFromPositions();
    return MarkerRelease{m_arrays.position[m_current], m_current};
}

void CMarkerTrack::RectsFromPositions() {
    for (int i = 0; i < MarkerArrays::kCount; ++i) {
        if (m_arrays.selected[i]) {
            m_rects[i] = RectForPosition(m_arrays.position[i]);
        }
    }
}
