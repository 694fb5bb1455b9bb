#pragma once
// The layout data of a resizable dialog: each control keeps one anchoring
// word, and its edges follow the window's client size by a factor each.
//
// Anchoring word: bit 0 left, bit 1 right, bit 2 top, bit 3 bottom edge
// follows the size; bits 4-10, 11-17, 18-24, 25-31 hold the factor k of the
// left, right, top and bottom edge (k / 128, and 1 for k = 0). 0xF moves a
// control with the lower right corner, 0xA stretches it right and down.
//
// Portable: no window here. The Win32 edge reads rectangles and sizes from the
// window and moves the controls to the rectangles computed here.
#include <cstdint>
#include <vector>

class ResizableControls {
public:
    struct SRect {
        int left = 0, top = 0, right = 0, bottom = 0;
        int Width() const noexcept { return right - left; }
        int Height() const noexcept { return bottom - top; }
        friend bool operator==(const SRect&, const SRect&) = default;
    };
    struct SRecord {
        int id = 0;
        SRect registered;  // client coordinates at registration
        uint32_t anchor = 0;
        double leftOffset = 0, rightOffset = 0, topOffset = 0, bottomOffset = 0;
    };

    static constexpr uint32_t kLeft = 1u << 0;
    static constexpr uint32_t kRight = 1u << 1;
    static constexpr uint32_t kTop = 1u << 2;
    static constexpr uint32_t kBottom = 1u << 3;
    // An anchoring word from its bits and the four factors k (0-127).
    static constexpr uint32_t MakeAnchor(uint32_t bits, uint32_t kLeftEdge, uint32_t kRightEdge, uint32_t kTopEdge,
                                         uint32_t kBottomEdge)
    {
        return (bits & 0xFu) | ((kLeftEdge & 0x7Fu) << 4) | ((kRightEdge & 0x7Fu) << 11) |
               ((kTopEdge & 0x7Fu) << 18) | ((kBottomEdge & 0x7Fu) << 25);
    }
    // The factor of the edge whose k starts at bit shift.
    static double Factor(uint32_t anchor, unsigned shift) noexcept;

    // (0, 0) stands for the client size at the time of each registration.
    void SetReferenceSize(int width, int height) noexcept;
    // Outer window size; a maximum of 0 is unlimited.
    void SetMinimumSize(int width, int height) noexcept;
    void SetMaximumSize(int width, int height) noexcept;
    int MinWidth() const noexcept { return m_minWidth; }
    int MinHeight() const noexcept { return m_minHeight; }
    int MaxWidth() const noexcept { return m_maxWidth; }
    int MaxHeight() const noexcept { return m_maxHeight; }

    bool IsRegistered(int id) const noexcept;
    // False with nerr::kAlreadyExists when id is registered already.
    bool Register(int id, const SRect& rect, uint32_t anchor, int clientWidth, int clientHeight);
    void Clear() noexcept { m_records.clear(); }
    const std::vector<SRecord>& Records() const noexcept { return m_records; }

    // Where a record's control goes in a client of width x height. A control
    // squeezed past its own size keeps zero width or height rather than
    // turning inside out.
    static SRect Place(const SRecord& record, int width, int height) noexcept;

    // Applies the size limits to a window rectangle the user is dragging.
    // The edge being dragged gives way (the left or top edge when moveLeft or
    // moveTop, otherwise right or bottom), so the opposite edge stays where
    // the user left it. True when the rectangle changed.
    bool LimitSizing(SRect& window, bool moveLeft, bool moveTop) const noexcept;

private:
    int m_refWidth = 0, m_refHeight = 0;
    int m_minWidth = 0, m_minHeight = 0;
    int m_maxWidth = 0, m_maxHeight = 0;
    std::vector<SRecord> m_records;
};
