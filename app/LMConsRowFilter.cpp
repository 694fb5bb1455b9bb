#include "app/LMConsRowFilter.h"

#include "app/ILMConsRow.h"

bool LMPassesFilter(const ILMConsRow& row, ELMConsRowFilter filter)
{
    switch (filter) {
    case ELMConsRowFilter::kAll: return true;
    case ELMConsRowFilter::kDisabled: return !row.IsEnabled();
    case ELMConsRowFilter::kEnabled: return row.IsEnabled();
    case ELMConsRowFilter::kEnabledNotOpen: return row.IsEnabled() && !row.IsOpen();
    case ELMConsRowFilter::kNotOpen: return !row.IsOpen();
    case ELMConsRowFilter::kOpen: return row.IsOpen();
    case ELMConsRowFilter::kOpenable:
        return row.IsOpen() ||
               (row.IsEnabled() && row.IsPortPresent() && row.IsSerialModeValid() && !row.IsPortBusy());
    case ELMConsRowFilter::kConnected: return row.IsConnected();
    }
    return false;
}

std::vector<size_t> LMFilterRows(const std::vector<const ILMConsRow*>& rows, ELMConsRowFilter filter,
                                 bool selectedOnly)
{
    std::vector<size_t> out;
    for (size_t i = 0; i < rows.size(); ++i) {
        const ILMConsRow* row = rows[i];
        if (row == nullptr || (selectedOnly && !row->IsSelected()))
            continue;
        if (LMPassesFilter(*row, filter))
            out.push_back(i);
    }
    return out;
}

bool LMAnyRowPasses(const std::vector<const ILMConsRow*>& rows, ELMConsRowFilter filter, bool selectedOnly)
{
    for (const ILMConsRow* row : rows)
        if (row != nullptr && (!selectedOnly || row->IsSelected()) && LMPassesFilter(*row, filter))
            return true;
    return false;
}

SLMEnableChange LMEnableChange(const std::vector<const ILMConsRow*>& rows)
{
    SLMEnableChange change;
    change.enable = !LMAnyRowPasses(rows, ELMConsRowFilter::kEnabled, true);
    change.rows = LMFilterRows(rows, change.enable ? ELMConsRowFilter::kDisabled : ELMConsRowFilter::kEnabledNotOpen,
                               true);
    return change;
}
