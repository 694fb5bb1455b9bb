#include "app/LMConsList.h"

#include <algorithm>

#include "app/LMConsConfigRow.h"
#include "app/LMConsListOrder.h"
#include "config/LMConsConfig.h"

namespace {
// Adapters for the filters, alive for one question.
struct SRowViews {
    explicit SRowViews(const std::vector<std::unique_ptr<LMConsConfig>>& configs)
    {
        rows.reserve(configs.size());
        for (const auto& c : configs)
            rows.emplace_back(*c);
        for (const auto& r : rows)
            pointers.push_back(&r);
    }
    std::vector<LMConsConfigRow> rows;
    std::vector<const ILMConsRow*> pointers;
};
}  // namespace

LMConsList::~LMConsList() = default;

void LMConsList::AssignLoaded(std::vector<std::unique_ptr<LMConsConfig>> loaded)
{
    Clear();
    std::vector<uint32_t> indices;
    indices.reserve(loaded.size());
    for (const auto& c : loaded)
        indices.push_back(c->Settings().ListIndex.Get());
    for (size_t k : LMLoadOrder(indices))
        m_rows.push_back(std::move(loaded[k]));
    Renumber();
}

size_t LMConsList::Append(std::unique_ptr<LMConsConfig> config)
{
    config->Settings().ListIndex.Set(static_cast<unsigned>(m_rows.size()));
    for (const auto& c : m_rows)
        c->SetSelected(false);
    config->SetSelected(true);
    m_rows.push_back(std::move(config));
    m_caret = m_rows.size() - 1;
    return m_caret;
}

void LMConsList::Remove(const std::vector<size_t>& rows)
{
    std::vector<size_t> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    const size_t caret = Caret();
    size_t newCaret = caret;
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
        if (*it >= m_rows.size())
            continue;
        m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(*it));
        if (newCaret != kNoCaret) {
            if (*it == newCaret)
                newCaret = kNoCaret;
            else if (*it < newCaret)
                --newCaret;
        }
    }
    m_caret = newCaret;
}

void LMConsList::Clear()
{
    // Deleting a configuration closes its console; one after the other.
    while (!m_rows.empty())
        m_rows.pop_back();
    m_caret = kNoCaret;
}

std::vector<size_t> LMConsList::Rows(ELMConsRowFilter filter, bool selectedOnly) const
{
    SRowViews views(m_rows);
    return LMFilterRows(views.pointers, filter, selectedOnly);
}

bool LMConsList::Any(ELMConsRowFilter filter, bool selectedOnly) const
{
    SRowViews views(m_rows);
    return LMAnyRowPasses(views.pointers, filter, selectedOnly);
}

size_t LMConsList::SelectedCount() const
{
    return static_cast<size_t>(
        std::count_if(m_rows.begin(), m_rows.end(), [](const auto& c) { return c->IsSelected(); }));
}

std::vector<std::wstring> LMConsList::Names(const std::vector<size_t>& rows) const
{
    std::vector<std::wstring> names;
    for (size_t r : rows)
        if (r < m_rows.size())
            names.push_back(m_rows[r]->CopyString(&LMConsSettings::Name));
    return names;
}

std::vector<std::wstring> LMConsList::KeyNames() const
{
    std::vector<std::wstring> names;
    for (const auto& c : m_rows)
        names.push_back(c->KeyName());
    return names;
}

SLMEnableChange LMConsList::EnableChange() const
{
    SRowViews views(m_rows);
    return LMEnableChange(views.pointers);
}

bool LMConsList::ToggleEnable()
{
    const SLMEnableChange change = EnableChange();
    for (size_t r : change.rows)
        m_rows[r]->Settings().Enabled.Set(change.enable);
    return !change.rows.empty();
}

SLMRowSelection LMConsList::Selection() const
{
    SLMRowSelection s;
    for (const auto& c : m_rows)
        s.selected.push_back(c->IsSelected());
    s.caret = Caret();
    return s;
}

void LMConsList::ApplySelection(const SLMRowSelection& selection)
{
    for (size_t i = 0; i < m_rows.size() && i < selection.selected.size(); ++i)
        m_rows[i]->SetSelected(selection.selected[i]);
    m_caret = selection.caret;
}

void LMConsList::Click(size_t row, bool shift, bool ctrl)
{
    SLMRowSelection s = Selection();
    s.Click(row, shift, ctrl);
    ApplySelection(s);
}

bool LMConsList::Key(ELMListKey key, bool shift, bool ctrl)
{
    SLMRowSelection s = Selection();
    if (!s.Key(key, shift, ctrl))
        return false;
    ApplySelection(s);
    return true;
}

bool LMConsList::CanMove(bool up) const
{
    const SLMRowSelection s = Selection();
    return up ? s.CanMoveUp() : s.CanMoveDown();
}

bool LMConsList::Move(bool up)
{
    SLMRowSelection s = Selection();
    const std::vector<size_t> order = LMMoveSelected(s, up);
    if (order.empty())
        return false;
    std::vector<std::unique_ptr<LMConsConfig>> moved;
    moved.reserve(m_rows.size());
    for (size_t old : order)
        moved.push_back(std::move(m_rows[old]));
    m_rows = std::move(moved);
    m_caret = s.caret;
    Renumber();
    return true;
}

void LMConsList::Renumber()
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i]->Settings().ListIndex.Set(static_cast<unsigned>(i));
}
