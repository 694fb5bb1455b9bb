#pragma once
// The console list's geometry in pixels: icon size and row height from the
// font's text height, column widths from the widest cell, scroll ranges.
// The header is the top row and stays in place; data row r is drawn
// (r + 1) rows down, less the vertical scroll position.
#include <array>
#include <cstddef>

struct SLMConsListLayout {
    static constexpr int kColumns = 4;
    static constexpr std::array<int, 4> kIconSizes{16, 24, 32, 48};

    int textHeight = 0;
    int iconSize = 16;
    int rowHeight = 0;
    int iconTop = 0;     // icon offset from the row's top (and its left gap)
    int textBottom = 0;  // text base line from the row's top
    std::array<int, kColumns> columnLeft{};
    std::array<int, kColumns> columnWidth{};
    int totalWidth = 0;

    // The icon size closest to textHeight; the smaller of two equally close.
    static int ChooseIconSize(int textHeight);
    // Sets text height, icon size, row height and the offsets within a row.
    void SetTextHeight(int height);
    // Width of a cell whose text is textWidth pixels wide.
    int HeaderCellWidth(int textWidth) const { return textWidth + 4; }
    int DataCellWidth(int textWidth) const { return textWidth + 4 + iconSize + 2 * iconTop; }
    // Column widths are the widest cells; columns are one pixel apart.
    void SetColumnWidths(const std::array<int, kColumns>& widths);

    // (rows + 1) x row height: the header counts as a row.
    int VerticalRange(size_t rows) const { return static_cast<int>(rows + 1) * rowHeight; }
    int HorizontalRange() const { return totalWidth; }
    // The data row at client y with the rows scrolled by scrollY, or -1 for
    // the header (which does not scroll) or below the last row.
    int RowAt(int y, int scrollY, size_t rows) const;
};

// A scroll position kept within [0, range - page] (0 when the page holds everything).
int LMClampScroll(int position, int range, int page);
