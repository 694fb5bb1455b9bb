#pragma once
// The confirmation questions of the console list, word for word.
#include <string>
#include <vector>

struct SLMConfirmText {
    std::wstring text;
    std::wstring title;
};

// names: the consoles that would be removed (at least one).
SLMConfirmText LMRemoveConfirmText(const std::vector<std::wstring>& names);
// names: the connected consoles that would be reset (at least one).
SLMConfirmText LMResetConfirmText(const std::vector<std::wstring>& names);
