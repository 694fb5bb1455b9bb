#pragma once
// Selection, caret and block moves of a list of rows, on plain flags so the
// rules hold the same for any list. The caret is a row index, or kNoCaret
// (any index at or past the row count counts as no caret).
#include <cstddef>
#include <vector>

constexpr size_t kNoCaret = static_cast<size_t>(-1);

enum class ELMListKey { kHome, kEnd, kUp, kDown };

struct SLMRowSelection {
    std::vector<bool> selected;
    size_t caret = kNoCaret;

    bool HasCaret() const { return caret < selected.size(); }

    // Left button on row: Shift (without Ctrl) with a caret adds the rows from
    // the caret to row; Shift without a caret, or no modifier, selects row
    // alone; Ctrl leaves the selection. The clicked row gets the caret.
    void Click(size_t row, bool shift, bool ctrl);
    // Home, End, Up and Down move the caret (Up and Down do nothing while Ctrl
    // is held); Shift adds the rows between the old and new caret, otherwise
    // only the new caret row is selected. False when the key did nothing.
    bool Key(ELMListKey key, bool shift, bool ctrl);

    // Whether a selected row has an unselected neighbour above (below).
    bool CanMoveUp() const;
    bool CanMoveDown() const;
};

// Moves every maximal run of selected rows one place up (down) past the
// unselected row next to it; runs at the edge stay. Answers the new order as
// old row indices (empty when nothing moves); the flags and caret follow
// their rows.
std::vector<size_t> LMMoveSelected(SLMRowSelection& selection, bool up);
