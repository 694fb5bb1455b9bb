#include "app/LMConsListLayout.h"

#include <algorithm>
#include <cstdlib>

int SLMConsListLayout::ChooseIconSize(int height)
{
    int best = kIconSizes[0];
    for (int size : kIconSizes)
        if (std::abs(size - height) < std::abs(best - height))
            best = size;
    return best;
}

void SLMConsListLayout::SetTextHeight(int height)
{
    textHeight = std::max(height, 0);
    iconSize = ChooseIconSize(textHeight);
    rowHeight = std::max(iconSize + 2, textHeight + 4) + 1;
    iconTop = (rowHeight - iconSize) / 2;
    textBottom = (rowHeight + textHeight) / 2;
}

void SLMConsListLayout::SetColumnWidths(const std::array<int, kColumns>& widths)
{
    int x = 0;
    for (int i = 0; i < kColumns; ++i) {
        columnLeft[i] = x;
        columnWidth[i] = std::max(widths[i], 0);
        x += columnWidth[i] + 1;
    }
    totalWidth = x;
}

int SLMConsListLayout::RowAt(int y, int scrollY, size_t rows) const
{
    if (rowHeight <= 0)
        return -1;
    if (y < rowHeight)
        return -1;  // the header stays in place while the rows scroll
    const int row = (y + scrollY) / rowHeight - 1;
    return static_cast<size_t>(row) < rows ? row : -1;
}

int LMClampScroll(int position, int range, int page)
{
    const int limit = std::max(range - std::max(page, 0), 0);
    return std::clamp(position, 0, limit);
}
