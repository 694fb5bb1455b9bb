#include "app/LMRowSelection.h"

#include <algorithm>
#include <numeric>
#include <utility>

void SLMRowSelection::Click(size_t row, bool shift, bool ctrl)
{
    if (row >= selected.size())
        return;
    if (!ctrl) {
        if (shift && HasCaret()) {
            const size_t from = std::min(caret, row);
            const size_t to = std::max(caret, row);
            for (size_t i = from; i <= to; ++i)
                selected[i] = true;
        } else {
            std::fill(selected.begin(), selected.end(), false);
            selected[row] = true;
        }
    }
    caret = row;
}

bool SLMRowSelection::Key(ELMListKey key, bool shift, bool ctrl)
{
    const size_t count = selected.size();
    if (count == 0)
        return false;
    if (ctrl && (key == ELMListKey::kUp || key == ELMListKey::kDown))
        return false;
    const bool had = HasCaret();
    size_t next = 0;
    switch (key) {
    case ELMListKey::kHome: next = 0; break;
    case ELMListKey::kEnd: next = count - 1; break;
    case ELMListKey::kUp: next = !had ? 0 : (caret > 0 ? caret - 1 : 0); break;
    case ELMListKey::kDown: next = !had ? count - 1 : (caret + 1 < count ? caret + 1 : caret); break;
    }
    if (shift) {
        const size_t from = had ? std::min(caret, next) : next;
        const size_t to = had ? std::max(caret, next) : next;
        for (size_t i = from; i <= to; ++i)
            selected[i] = true;
    } else {
        std::fill(selected.begin(), selected.end(), false);
        selected[next] = true;
    }
    caret = next;
    return true;
}

bool SLMRowSelection::CanMoveUp() const
{
    for (size_t i = 1; i < selected.size(); ++i)
        if (selected[i] && !selected[i - 1])
            return true;
    return false;
}

bool SLMRowSelection::CanMoveDown() const
{
    for (size_t i = 0; i + 1 < selected.size(); ++i)
        if (selected[i] && !selected[i + 1])
            return true;
    return false;
}

std::vector<size_t> LMMoveSelected(SLMRowSelection& selection, bool up)
{
    std::vector<bool>& sel = selection.selected;
    const size_t count = sel.size();
    if (up ? !selection.CanMoveUp() : !selection.CanMoveDown())
        return {};
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t{0});
    size_t caretRow = selection.HasCaret() ? selection.caret : kNoCaret;
    auto exchange = [&](size_t a, size_t b) {
        std::swap(order[a], order[b]);
        const bool t = sel[a];
        sel[a] = sel[b];
        sel[b] = t;
    };
    // Each selected row steps over the unselected row next to it; walking
    // towards the moving direction's far end lets a run move as one block.
    if (up) {
        for (size_t i = 1; i < count; ++i)
            if (sel[i] && !sel[i - 1])
                exchange(i - 1, i);
    } else {
        for (size_t i = count - 1; i > 0; --i)
            if (sel[i - 1] && !sel[i])
                exchange(i - 1, i);
    }
    if (caretRow != kNoCaret)
        selection.caret = static_cast<size_t>(std::find(order.begin(), order.end(), caretRow) - order.begin());
    return order;
}
