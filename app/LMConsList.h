#pragma once
// The console array of the main window, in list order, with the caret. It
// owns its configurations: removing or replacing a row deletes it (and so
// closes its console window). The selection lives in the configurations, so
// it survives reordering. Main user-interface thread only.
#include <memory>
#include <string>
#include <vector>

#include "app/LMConsRowFilter.h"
#include "app/LMRowSelection.h"

class LMConsConfig;

class LMConsList {
public:
    LMConsList() = default;
    LMConsList(const LMConsList&) = delete;
    LMConsList& operator=(const LMConsList&) = delete;
    ~LMConsList();

    size_t Count() const { return m_rows.size(); }
    LMConsConfig* At(size_t row) const { return row < m_rows.size() ? m_rows[row].get() : nullptr; }
    size_t Caret() const { return m_caret < m_rows.size() ? m_caret : kNoCaret; }
    void SetCaret(size_t row) { m_caret = row; }

    // Replaces the rows by loaded configurations given in subkey listing
    // order, ordered by their ListIndex and renumbered 0, 1, 2, ...
    void AssignLoaded(std::vector<std::unique_ptr<LMConsConfig>> loaded);
    // Appends a new console with ListIndex = previous count; it becomes the
    // only selected row and takes the caret. Answers its row.
    size_t Append(std::unique_ptr<LMConsConfig> config);
    // Deletes the given rows (indices in any order). The other rows keep
    // their ListIndex until the next load.
    void Remove(const std::vector<size_t>& rows);
    void Clear();

    std::vector<size_t> Rows(ELMConsRowFilter filter, bool selectedOnly) const;
    bool Any(ELMConsRowFilter filter, bool selectedOnly) const;
    size_t SelectedCount() const;
    std::vector<std::wstring> Names(const std::vector<size_t>& rows) const;
    std::vector<std::wstring> KeyNames() const;

    // Enable command: what it would change, and the change itself.
    SLMEnableChange EnableChange() const;
    bool ToggleEnable();
    // The selected rows Remove works on: those that are not open.
    std::vector<size_t> RemovableRows() const { return Rows(ELMConsRowFilter::kNotOpen, true); }

    void Click(size_t row, bool shift, bool ctrl);
    bool Key(ELMListKey key, bool shift, bool ctrl);
    bool CanMove(bool up) const;
    // Moves the selected runs; on a move renumbers ListIndex. True when anything moved.
    bool Move(bool up);
    // ListIndex = row, for every row.
    void Renumber();

private:
    SLMRowSelection Selection() const;
    void ApplySelection(const SLMRowSelection& selection);

    std::vector<std::unique_ptr<LMConsConfig>> m_rows;
    size_t m_caret = kNoCaret;
};
