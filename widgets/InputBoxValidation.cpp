#include "widgets/InputBoxValidation.h"

#include <type_traits>

#include "widgets/InputNumberText.h"
#include "widgets/InputTextRules.h"

namespace {
const wchar_t kInvalidEntry[] = L"Invalid entry";
const wchar_t kEntryEmpty[] = L"Entry is empty";
const wchar_t kNotInteger[] = L"Not an integer";
const wchar_t kNotNumber[] = L"Not a number";
const wchar_t kTooSmall[] = L"Value too small";
const wchar_t kTooLarge[] = L"Value too large";
const wchar_t kAlreadyUsed[] = L"Entry already used";

InputBoxValidation::SResult Refuse(const wchar_t* message) { return {false, message}; }

// The two range kinds differ only in the number type: the parser's verdict
// comes first, so that a number beyond what the type holds reads "too
// large" or "too small" rather than failing a bound by accident.
template <class T>
InputBoxValidation::SResult CheckRange(const std::wstring& text, T minimum, T maximum)
{
    constexpr bool kInteger = std::is_integral_v<T>;
    T value{};
    EInputNumber parsed;
    if constexpr (kInteger)
        parsed = ParseInputInteger(text, value);
    else
        parsed = ParseInputNumber(text, value);
    switch (parsed) {
    case EInputNumber::kNotNumber:
        return Refuse(kInteger ? kNotInteger : kNotNumber);
    case EInputNumber::kBelowRange:
        return Refuse(kTooSmall);
    case EInputNumber::kAboveRange:
        return Refuse(kTooLarge);
    case EInputNumber::kOk:
        break;
    }
    if (value < minimum)
        return Refuse(kTooSmall);
    if (value > maximum)
        return Refuse(kTooLarge);
    return {};
}
}  // namespace

InputBoxValidation InputBoxValidation::Accept(AcceptFn accept)
{
    InputBoxValidation v;
    v.m_kind = kAccept;
    v.m_accept = std::move(accept);
    return v;
}

InputBoxValidation InputBoxValidation::Message(TextFn problem)
{
    InputBoxValidation v;
    v.m_kind = kMessage;
    v.m_text = std::move(problem);
    return v;
}

InputBoxValidation InputBoxValidation::Hint(TextFn hint)
{
    InputBoxValidation v;
    v.m_kind = kHint;
    v.m_text = std::move(hint);
    return v;
}

InputBoxValidation InputBoxValidation::NotEmpty(bool trim)
{
    InputBoxValidation v;
    v.m_kind = kNotEmpty;
    v.m_trim = trim;
    return v;
}

InputBoxValidation InputBoxValidation::IntegerRange(int64_t minimum, int64_t maximum)
{
    InputBoxValidation v;
    v.m_kind = kIntegerRange;
    v.m_intMin = minimum;
    v.m_intMax = maximum;
    return v;
}

InputBoxValidation InputBoxValidation::NumberRange(double minimum, double maximum)
{
    InputBoxValidation v;
    v.m_kind = kNumberRange;
    v.m_numMin = minimum;
    v.m_numMax = maximum;
    return v;
}

InputBoxValidation InputBoxValidation::Unique(std::vector<std::wstring> used, bool trim, bool caseSensitive,
                                              bool allowEmpty)
{
    InputBoxValidation v;
    v.m_kind = kUnique;
    v.m_used = std::move(used);
    v.m_trim = trim;
    v.m_caseSensitive = caseSensitive;
    v.m_allowEmpty = allowEmpty;
    return v;
}

InputBoxValidation::SResult InputBoxValidation::Validate(const std::wstring& text) const
{
    switch (m_kind) {
    case kNone:
        return {};
    case kAccept:
        // No callback: nothing to ask, so nothing to refuse.
        if (!m_accept)
            return {};
        try {
            return m_accept(text) ? SResult{} : Refuse(kInvalidEntry);
        } catch (...) {
            return Refuse(kInvalidEntry);
        }
    case kMessage:
        if (!m_text)
            return {};
        try {
            std::wstring problem = m_text(text);
            if (problem.empty())
                return {};
            return {false, std::move(problem)};
        } catch (...) {
            return Refuse(kInvalidEntry);
        }
    case kHint:
        if (!m_text)
            return {};
        try {
            return {true, m_text(text)};
        } catch (...) {
            return {};
        }
    case kNotEmpty: {
        const std::wstring_view checked = m_trim ? InputTrim(text) : std::wstring_view(text);
        return checked.empty() ? Refuse(kEntryEmpty) : SResult{};
    }
    case kIntegerRange:
        return CheckRange(text, m_intMin, m_intMax);
    case kNumberRange:
        return CheckRange(text, m_numMin, m_numMax);
    case kUnique: {
        const std::wstring_view checked = m_trim ? InputTrim(text) : std::wstring_view(text);
        if (checked.empty() && !m_allowEmpty)
            return Refuse(kEntryEmpty);
        for (const std::wstring& used : m_used) {
            if (InputTextEqual(checked, used, m_caseSensitive))
                return Refuse(kAlreadyUsed);
        }
        return {};
    }
    }
    return {};
}

std::wstring InputBoxValidation::Accepted(const std::wstring& text) const
{
    if ((m_kind == kNotEmpty || m_kind == kUnique) && m_trim)
        return std::wstring(InputTrim(text));
    return text;
}
