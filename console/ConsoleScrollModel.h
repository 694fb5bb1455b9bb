#pragma once
// The scroll, follow and pin state of the console log view, over its ring of
// lines. The window part only measures, draws and moves the bars; every
// decision about which line is where lives here, so it can be tested with no
// window.
//
// Anchor: >= capacity follows new lines, 0 <= anchor < capacity pins the view
// to that logical line, negative is neither (free).
#include "console/ConsoleLineRing.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace consoleidx {
// Pseudo-indices accepted wherever a logical line index is.
constexpr int32_t kLast = static_cast<int32_t>(0x80000001u);
constexpr int32_t kNew = static_cast<int32_t>(0x80000002u);
constexpr int32_t kTop = static_cast<int32_t>(0x80000003u);
constexpr int32_t kAnchor = static_cast<int32_t>(0x80000004u);
}  // namespace consoleidx

// KeyPageUp is the Page Up key, which moves only when a whole page is above.
enum class ConsoleScroll : uint8_t { LineUp, LineDown, PageUp, KeyPageUp, PageDown, First, LastPage, Thumb };

enum class ConsoleHScroll : uint8_t { LineLeft, LineRight, PageLeft, PageRight, Leftmost, Rightmost, Thumb };

class ConsoleScrollModel {
public:
    // The log kind of a received line that is still open: the next entry
    // replaces it instead of adding a line.
    static constexpr uint32_t kKindRecdOpen = 7;
    static constexpr int32_t kWheelNotch = 120;

    struct SetLineResult {
        bool stored = false;
        bool rowVisible = false;  // the line's row is on screen
        bool redrawAll = false;   // the ring moved under a view that does not hold still
    };

    const ConsoleLineRing& Ring() const { return m_ring; }
    ConsoleLineRing& Ring() { return m_ring; }
    int32_t Capacity() const { return m_ring.Capacity(); }
    int32_t Top() const { return m_top; }
    int32_t Anchor() const { return m_anchor; }
    int32_t VisibleRows() const { return m_visibleRows; }
    bool IsFollowing() const { return m_anchor >= Capacity(); }
    bool IsPinned() const { return m_anchor >= 0 && m_anchor < Capacity(); }
    bool HasClient() const { return m_hasClient; }

    // From the window's metrics. A client area of zero width or height makes
    // every scroll and visibility question answer "nothing".
    void SetMetrics(int32_t clientHeight, int32_t lineHeight, bool hasClient);
    // Visible rows, less a partial last row when more than one row shows.
    int32_t PageRows() const;
    int32_t MaxTop() const;

    // Maps a pseudo-index to a logical index (possibly negative).
    int32_t Resolve(int32_t index) const;

    // Changes the depth and switches to follow mode. False (nothing changed)
    // when the ring could not be re-allocated.
    bool SetDepth(int32_t depth);
    SetLineResult SetLine(int32_t index, uint32_t scheme, std::wstring_view text);
    // Adds a log entry: appends, or replaces the last line while the previous
    // entry was an open received line.
    SetLineResult AppendEntry(uint32_t kind, std::wstring_view text);
    bool EnsureVisible(int32_t index);
    void SetAnchor(int32_t index);
    bool IsRowVisible(int32_t index) const;
    // Clamps top into the scroll range; a pin follows a clamped top.
    void ClampTop();

    // User scrolling: clamps, and when top changed stops following or moves a
    // pin to the new top. Returns whether top changed.
    bool ScrollTo(int32_t top);
    bool Scroll(ConsoleScroll action, int32_t thumb = 0);
    // Wheel deltas add up; each whole notch moves one line (up for positive).
    bool Wheel(int32_t delta);
    int32_t WheelRemainder() const { return m_wheelRemainder; }

    void ToggleFollow();
    void TogglePin();
    // Every line discarded, same capacity, follow mode, no open received line.
    void Erase();

    // Texts of lines 0...Last() (only on-screen rows with visibleOnly), each
    // followed by CR LF; empty when there is nothing to copy.
    std::wstring CopyText(bool visibleOnly) const;

    // The widest measured line, for the horizontal bar. NoteWidth records a
    // measurement and tells whether the maximum may have changed.
    bool NoteWidth(int32_t logical, int32_t width);
    int32_t MaxWidth() const { return m_maxWidth; }
    void RecomputeMaxWidth();

    // Horizontal position in pixels, within 0 ... MaxWidth() - client width.
    void SetClientWidth(int32_t width);
    int32_t HorizontalPos() const { return m_hpos; }
    int32_t HorizontalRange() const;
    // Re-clamps after the widest line or the client width changed.
    void ClampHorizontal();
    bool ScrollHorizontal(ConsoleHScroll action, int32_t thumb = 0);

private:
    ConsoleLineRing m_ring;
    int32_t m_top = 0;
    int32_t m_anchor = 0;
    int32_t m_wheelRemainder = 0;
    int32_t m_visibleRows = 0;
    bool m_partialRow = false;
    bool m_hasClient = false;
    bool m_continuation = false;
    int32_t m_maxWidth = 0;
    int32_t m_maxCount = 0;  // measured lines as wide as m_maxWidth
    bool m_widestReplaced = false;
    int32_t m_clientWidth = 0;
    int32_t m_hpos = 0;  // the widest line was overwritten since the last measure
};
