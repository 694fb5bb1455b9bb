#pragma once
// The fixed-depth ring of display lines behind the console log view.
//
// The worker can flood the view faster than it can be drawn, so storing a line
// must stay cheap: once the ring is full the oldest slot is reused in place and
// its string keeps its buffer, so a line costs no allocation unless its text is
// longer than any text that slot held before.
#include "console/ConsoleLine.h"

#include <cstdint>
#include <string_view>
#include <vector>

class ConsoleLineRing {
public:
    ConsoleLineRing() = default;

    int32_t Capacity() const { return static_cast<int32_t>(m_slots.size()); }
    // Logical index of the newest line, -1 when empty.
    int32_t Last() const { return m_last; }
    int32_t Count() const { return m_last + 1; }
    bool IsFull() const { return !m_slots.empty() && m_last == Capacity() - 1; }

    // Logical line i, 0 <= i < Capacity(); slots past Last() hold empty lines.
    const ConsoleLine& Line(int32_t logical) const { return m_slots[Slot(logical)]; }
    ConsoleLine& Line(int32_t logical) { return m_slots[Slot(logical)]; }

    // Keeps the newest min(depth, Count()) lines as logical lines 0...; the rest
    // of the new ring is empty. Fails with kNotEnoughMemory (ring unchanged)
    // or kInvalidParameter for a negative depth.
    bool SetDepth(int32_t depth);

    // Stores a line at a logical index. An index at or past the capacity means
    // "a new line after the last": with the ring full, the oldest line is
    // dropped and the line lands at Capacity() - 1 (`dropped` tells); with room
    // left, it lands at Last() + 1 so that no line is lost. Returns the logical
    // index used, or -1 (nothing stored) for a negative index or a ring of
    // depth 0. `previousWidth` receives the overwritten line's width.
    int32_t Store(int32_t index, uint32_t scheme, std::wstring_view text, bool& dropped,
                  int32_t& previousWidth);

    // Discards every line; capacity and slot buffers stay.
    void Clear();

private:
    size_t Slot(int32_t logical) const
    {
        return (m_head + static_cast<size_t>(logical)) % m_slots.size();
    }

    std::vector<ConsoleLine> m_slots;
    size_t m_head = 0;    // slot of logical line 0
    int32_t m_last = -1;  // newest logical line
};
