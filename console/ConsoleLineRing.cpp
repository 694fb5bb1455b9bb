#include "console/ConsoleLineRing.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <utility>

bool ConsoleLineRing::SetDepth(int32_t depth)
{
    if (depth < 0) {
        NSetLastError(nerr::kInvalidParameter);
        return false;
    }
    const int32_t capacity = Capacity();
    if (depth == capacity) return true;
    // Only filled lines are carried over, so shrinking a ring that is not yet
    // full keeps its lines instead of the empty slots at its end.
    const int32_t keep = std::min(depth, Count());
    const int32_t skip = Count() - keep;
    std::vector<ConsoleLine> fresh;
    // A depth past what the address space can index throws length_error
    // rather than bad_alloc; either way the ring stays as it was.
    if (static_cast<size_t>(depth) > fresh.max_size()) {
        NSetLastError(nerr::kNotEnoughMemory);
        return false;
    }
    try {
        fresh.resize(static_cast<size_t>(depth));
    } catch (const std::exception&) {
        NSetLastError(nerr::kNotEnoughMemory);
        return false;
    }
    for (int32_t i = 0; i < keep; ++i) {
        ConsoleLine& from = Line(skip + i);
        ConsoleLine& to = fresh[static_cast<size_t>(i)];
        to.scheme = from.scheme;
        to.text = std::move(from.text);
        to.width = from.width;
        to.drawn = false;
    }
    m_slots = std::move(fresh);
    m_head = 0;
    m_last = keep - 1;
    return true;
}

int32_t ConsoleLineRing::Store(int32_t index, uint32_t scheme, std::wstring_view text, bool& dropped,
                               int32_t& previousWidth)
{
    dropped = false;
    previousWidth = -1;
    if (index < 0 || m_slots.empty()) return -1;
    const int32_t capacity = Capacity();
    if (index >= capacity) {
        if (IsFull()) {
            m_head = (m_head + 1) % m_slots.size();
            dropped = true;
            index = capacity - 1;
        } else {
            index = m_last + 1;
        }
    }
    ConsoleLine& line = Line(index);
    previousWidth = line.width;
    try {
        line.text.assign(text.data(), text.size());
    } catch (const std::bad_alloc&) {
        line.text.clear();
        NSetLastError(nerr::kNotEnoughMemory);
    }
    line.scheme = scheme;
    line.width = -1;
    line.drawn = false;
    if (index > m_last) m_last = index;
    return index;
}

void ConsoleLineRing::Clear()
{
    for (ConsoleLine& line : m_slots) {
        line.scheme = 0;
        line.text.clear();
        line.width = -1;
        line.drawn = false;
    }
    m_head = 0;
    m_last = -1;
}
