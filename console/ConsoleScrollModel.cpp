#include "console/ConsoleScrollModel.h"

#include <algorithm>

void ConsoleScrollModel::SetMetrics(int32_t clientHeight, int32_t lineHeight, bool hasClient)
{
    m_hasClient = hasClient && clientHeight > 0 && lineHeight > 0;
    if (!m_hasClient) {
        m_visibleRows = 0;
        m_partialRow = false;
        return;
    }
    m_visibleRows = (clientHeight - 1) / lineHeight + 1;
    m_partialRow = m_visibleRows * lineHeight != clientHeight;
}

int32_t ConsoleScrollModel::PageRows() const
{
    return m_partialRow && m_visibleRows > 1 ? m_visibleRows - 1 : m_visibleRows;
}

int32_t ConsoleScrollModel::MaxTop() const
{
    return std::max(0, Capacity() - PageRows());
}

int32_t ConsoleScrollModel::Resolve(int32_t index) const
{
    switch (index) {
    case consoleidx::kLast: return m_ring.Last();
    case consoleidx::kNew: return m_ring.Last() + 1;
    case consoleidx::kTop: return m_top;
    case consoleidx::kAnchor: return m_anchor;
    default: return index;
    }
}

bool ConsoleScrollModel::SetDepth(int32_t depth)
{
    if (depth == Capacity()) return true;
    if (!m_ring.SetDepth(depth)) return false;
    m_anchor = depth;
    RecomputeMaxWidth();
    ClampTop();
    return true;
}

ConsoleScrollModel::SetLineResult ConsoleScrollModel::SetLine(int32_t index, uint32_t scheme,
                                                              std::wstring_view text)
{
    SetLineResult result;
    index = Resolve(index);
    if (index < 0) return result;
    bool dropped = false;
    int32_t previousWidth = -1;
    index = m_ring.Store(index, scheme, text, dropped, previousWidth);
    if (index < 0) return result;
    result.stored = true;
    // Only when the last line of the widest width goes can the maximum
    // shrink; counting them keeps lines of equal width from re-measuring
    // the whole ring on every store.
    if (previousWidth >= 0 && previousWidth == m_maxWidth && m_maxCount > 0 && --m_maxCount == 0)
        m_widestReplaced = true;
    if (dropped) {
        if (m_anchor < 1 || m_anchor >= Capacity()) {
            result.redrawAll = true;
        } else {
            // A pin moves with its line, so the same lines stay on screen.
            --m_anchor;
            if (m_top > 0) --m_top;
        }
    }
    result.rowVisible = IsRowVisible(index);
    return result;
}

ConsoleScrollModel::SetLineResult ConsoleScrollModel::AppendEntry(uint32_t kind, std::wstring_view text)
{
    // A depth of 0 stores nothing; then there is no open line to continue.
    const SetLineResult result =
        SetLine(m_continuation ? consoleidx::kLast : consoleidx::kNew, kind, text);
    m_continuation = result.stored && kind == kKindRecdOpen;
    return result;
}

bool ConsoleScrollModel::EnsureVisible(int32_t index)
{
    if (!m_hasClient) return false;
    index = Resolve(index);
    if (index < 0 || index >= Capacity()) return false;
    int32_t top = m_top;
    if (index < top) {
        top = index;
    } else if (index >= top + PageRows()) {
        top = index - PageRows() + 1;
        if (top < 0 || top >= Capacity()) top = 0;
    }
    if (top == m_top) return false;
    m_top = top;
    ClampTop();
    return true;
}

void ConsoleScrollModel::SetAnchor(int32_t index)
{
    index = Resolve(index);
    m_anchor = index > Capacity() ? -1 : index;
}

bool ConsoleScrollModel::IsRowVisible(int32_t index) const
{
    if (!m_hasClient || m_visibleRows <= 0) return false;
    if (index == consoleidx::kTop) return true;
    index = Resolve(index);
    return index >= m_top && index - m_top < m_visibleRows;
}

void ConsoleScrollModel::ClampTop()
{
    const int32_t range = Capacity() - PageRows();
    if (range > 0) {
        const int32_t clamped = std::clamp(m_top, 0, range);
        if (clamped != m_top && IsPinned()) m_anchor = clamped;
        m_top = clamped;
    } else {
        m_top = 0;
        if (IsPinned()) m_anchor = 0;
    }
}

bool ConsoleScrollModel::ScrollTo(int32_t top)
{
    if (!m_hasClient) return false;
    top = std::clamp(top, 0, MaxTop());
    if (top == m_top) return false;
    const bool pinned = IsPinned();
    m_top = top;
    if (pinned) {
        m_anchor = top;
    } else if (m_anchor >= Capacity()) {
        m_anchor = -1;
    }
    return true;
}

bool ConsoleScrollModel::Scroll(ConsoleScroll action, int32_t thumb)
{
    // Sums in 64 bits: top near the limit plus a page must not wrap.
    const int64_t top = m_top;
    const int64_t page = PageRows();
    int64_t to = top;
    switch (action) {
    case ConsoleScroll::LineUp: to = top - 1; break;
    case ConsoleScroll::LineDown: to = top + 1; break;
    case ConsoleScroll::PageUp: to = top - page; break;
    case ConsoleScroll::KeyPageUp:
        if (top < page) return false;
        to = top - page;
        break;
    case ConsoleScroll::PageDown: to = top + page; break;
    case ConsoleScroll::First: to = 0; break;
    case ConsoleScroll::LastPage: to = MaxTop(); break;
    case ConsoleScroll::Thumb: to = thumb; break;
    }
    return ScrollTo(static_cast<int32_t>(std::clamp<int64_t>(to, 0, MaxTop())));
}

bool ConsoleScrollModel::Wheel(int32_t delta)
{
    if (!m_hasClient) return false;
    const int64_t sum = static_cast<int64_t>(m_wheelRemainder) + delta;
    const int64_t notches = sum / kWheelNotch;  // truncates towards zero
    m_wheelRemainder = static_cast<int32_t>(sum - notches * kWheelNotch);
    if (notches == 0) return false;
    const int64_t to = std::clamp<int64_t>(m_top - notches, 0, MaxTop());
    return ScrollTo(static_cast<int32_t>(to));
}

void ConsoleScrollModel::ToggleFollow()
{
    if (IsFollowing()) {
        m_anchor = -1;
        return;
    }
    EnsureVisible(consoleidx::kLast);
    m_anchor = Capacity();
}

void ConsoleScrollModel::TogglePin()
{
    m_anchor = IsPinned() ? -1 : m_top;
}

void ConsoleScrollModel::Erase()
{
    m_ring.Clear();
    m_top = 0;
    m_anchor = Capacity();
    m_continuation = false;
    m_maxWidth = 0;
    m_maxCount = 0;
    m_widestReplaced = false;
    m_hpos = 0;
}

std::wstring ConsoleScrollModel::CopyText(bool visibleOnly) const
{
    std::wstring text;
    for (int32_t i = 0; i <= m_ring.Last(); ++i) {
        if (visibleOnly && !IsRowVisible(i)) continue;
        text += m_ring.Line(i).text;
        text += L"\r\n";
    }
    return text;
}

bool ConsoleScrollModel::NoteWidth(int32_t logical, int32_t width)
{
    if (logical < 0 || logical >= Capacity()) return false;
    m_ring.Line(logical).width = width;
    if (width > m_maxWidth) {
        m_maxWidth = width;
        m_maxCount = 1;
        m_widestReplaced = false;
        return true;
    }
    if (width == m_maxWidth) {
        ++m_maxCount;
        m_widestReplaced = false;
        return false;
    }
    if (!m_widestReplaced) return false;
    const int32_t before = m_maxWidth;
    RecomputeMaxWidth();
    return m_maxWidth != before;
}

void ConsoleScrollModel::RecomputeMaxWidth()
{
    int32_t widest = 0;
    int32_t count = 0;
    for (int32_t i = 0; i < Capacity(); ++i) {
        const int32_t width = m_ring.Line(i).width;
        if (width > widest) {
            widest = width;
            count = 1;
        } else if (width == widest && width > 0) {
            ++count;
        }
    }
    m_maxWidth = widest;
    m_maxCount = count;
    m_widestReplaced = false;
    ClampHorizontal();
}

void ConsoleScrollModel::SetClientWidth(int32_t width)
{
    m_clientWidth = std::max(0, width);
    ClampHorizontal();
}

int32_t ConsoleScrollModel::HorizontalRange() const
{
    return std::max(0, m_maxWidth - m_clientWidth);
}

void ConsoleScrollModel::ClampHorizontal()
{
    m_hpos = std::clamp(m_hpos, 0, HorizontalRange());
}

bool ConsoleScrollModel::ScrollHorizontal(ConsoleHScroll action, int32_t thumb)
{
    if (!m_hasClient || m_clientWidth <= 0) return false;
    const int64_t pos = m_hpos;
    int64_t to = pos;
    switch (action) {
    case ConsoleHScroll::LineLeft: to = pos - 1; break;
    case ConsoleHScroll::LineRight: to = pos + 1; break;
    case ConsoleHScroll::PageLeft: to = pos - m_clientWidth; break;
    case ConsoleHScroll::PageRight: to = pos + m_clientWidth; break;
    case ConsoleHScroll::Leftmost: to = 0; break;
    case ConsoleHScroll::Rightmost: to = HorizontalRange(); break;
    case ConsoleHScroll::Thumb: to = thumb; break;
    }
    const int32_t clamped = static_cast<int32_t>(std::clamp<int64_t>(to, 0, HorizontalRange()));
    if (clamped == m_hpos) return false;
    m_hpos = clamped;
    return true;
}
