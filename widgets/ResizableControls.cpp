#include "widgets/ResizableControls.h"

#include <cmath>

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

namespace {
constexpr unsigned kShiftLeft = 4, kShiftRight = 11, kShiftTop = 18, kShiftBottom = 25;

int Round(double value) { return static_cast<int>(std::floor(value + 0.5)); }
}  // namespace

double ResizableControls::Factor(uint32_t anchor, unsigned shift) noexcept
{
    const uint32_t k = (anchor >> shift) & 0x7Fu;
    return k == 0 ? 1.0 : static_cast<double>(k) / 128.0;
}

void ResizableControls::SetReferenceSize(int width, int height) noexcept
{
    m_refWidth = width;
    m_refHeight = height;
}

void ResizableControls::SetMinimumSize(int width, int height) noexcept
{
    m_minWidth = width;
    m_minHeight = height;
}

void ResizableControls::SetMaximumSize(int width, int height) noexcept
{
    m_maxWidth = width;
    m_maxHeight = height;
}

bool ResizableControls::IsRegistered(int id) const noexcept
{
    for (const SRecord& r : m_records) {
        if (r.id == id)
            return true;
    }
    return false;
}

bool ResizableControls::Register(int id, const SRect& rect, uint32_t anchor, int clientWidth, int clientHeight)
{
    if (IsRegistered(id))
        return NFail(nerr::kAlreadyExists);
    const bool useClient = m_refWidth == 0 && m_refHeight == 0;
    const double w0 = useClient ? clientWidth : m_refWidth;
    const double h0 = useClient ? clientHeight : m_refHeight;
    SRecord record;
    record.id = id;
    record.registered = rect;
    record.anchor = anchor;
    record.leftOffset = w0 * Factor(anchor, kShiftLeft) - rect.left;
    record.rightOffset = w0 * Factor(anchor, kShiftRight) - rect.right;
    record.topOffset = h0 * Factor(anchor, kShiftTop) - rect.top;
    record.bottomOffset = h0 * Factor(anchor, kShiftBottom) - rect.bottom;
    m_records.push_back(record);
    return true;
}

ResizableControls::SRect ResizableControls::Place(const SRecord& r, int width, int height) noexcept
{
    SRect out = r.registered;
    if (r.anchor & kLeft)
        out.left = Round(width * Factor(r.anchor, kShiftLeft) - r.leftOffset);
    if (r.anchor & kRight)
        out.right = Round(width * Factor(r.anchor, kShiftRight) - r.rightOffset);
    if (r.anchor & kTop)
        out.top = Round(height * Factor(r.anchor, kShiftTop) - r.topOffset);
    if (r.anchor & kBottom)
        out.bottom = Round(height * Factor(r.anchor, kShiftBottom) - r.bottomOffset);
    if (out.right < out.left)
        out.right = out.left;
    if (out.bottom < out.top)
        out.bottom = out.top;
    return out;
}

bool ResizableControls::LimitSizing(SRect& window, bool moveLeft, bool moveTop) const noexcept
{
    const SRect before = window;
    auto limit = [](int& near, int& far, bool moveNear, int minimum, int maximum) {
        const int size = far - near;
        int wanted = size;
        if (maximum > 0 && size > maximum)
            wanted = maximum;
        if (size < minimum)
            wanted = minimum;
        if (wanted == size)
            return;
        if (moveNear)
            near = far - wanted;
        else
            far = near + wanted;
    };
    limit(window.left, window.right, moveLeft, m_minWidth, m_maxWidth);
    limit(window.top, window.bottom, moveTop, m_minHeight, m_maxHeight);
    return !(window == before);
}
