#pragma once
// The row filters the list's commands are built on, applied to all rows or to
// the selected rows only.
#include <cstddef>
#include <vector>

class ILMConsRow;

enum class ELMConsRowFilter : int {
    kAll = 0,
    kDisabled = 1,
    kEnabled = 2,
    kEnabledNotOpen = 3,
    kNotOpen = 4,
    kOpen = 5,
    // Open, or could be opened now: enabled, port present, mode valid, port free.
    kOpenable = 6,
    kConnected = 7,
};

bool LMPassesFilter(const ILMConsRow& row, ELMConsRowFilter filter);

// Indices of the rows that pass filter (selected rows only when selectedOnly).
std::vector<size_t> LMFilterRows(const std::vector<const ILMConsRow*>& rows, ELMConsRowFilter filter,
                                 bool selectedOnly);
bool LMAnyRowPasses(const std::vector<const ILMConsRow*>& rows, ELMConsRowFilter filter, bool selectedOnly);

// The rows Enable changes and whether it enables them: when no selected row
// is enabled, the selected disabled rows are enabled; otherwise the selected
// enabled rows that are not open are disabled (an open console stays enabled).
struct SLMEnableChange {
    std::vector<size_t> rows;
    bool enable = false;
};
SLMEnableChange LMEnableChange(const std::vector<const ILMConsRow*>& rows);
