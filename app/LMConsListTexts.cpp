#include "app/LMConsListTexts.h"

SLMConfirmText LMRemoveConfirmText(const std::vector<std::wstring>& names)
{
    if (names.size() == 1)
        return {L"OK to remove entry \"" + names.front() + L"\"?", L"Please confim entry removal"};
    return {L"OK to remove " + std::to_wstring(names.size()) + L" entries?", L"Please confim multiple entry removal"};
}

SLMConfirmText LMResetConfirmText(const std::vector<std::wstring>& names)
{
    std::wstring text = L"Caution! Ready to reset " + std::to_wstring(names.size()) +
                        (names.size() == 1 ? L" board:" : L" boards:");
    for (const std::wstring& name : names)
        text += L"\n" + name;
    return {text, L"Please Confirm Multiple Board Reset"};
}
