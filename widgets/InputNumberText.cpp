#include "widgets/InputNumberText.h"

#include <charconv>
#include <limits>
#include <string>

#include "foundation/NumberSyntax.h"

namespace {
std::wstring_view Trimmed(std::wstring_view text)
{
    while (!text.empty() && NIsNumberSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && NIsNumberSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// For a checked decimal text ("-12.5e3"): the power of ten of its first
// non-zero digit. Saturates far beyond any double's range.
int64_t ScientificExponent(const std::string& ascii)
{
    int64_t integerDigits = 0, position = 0, firstNonZero = -1, exponent = 0;
    bool inFraction = false;
    size_t i = 0;
    for (; i < ascii.size() && ascii[i] != 'e'; ++i) {
        const char c = ascii[i];
        if (c == '.') {
            inFraction = true;
        } else if (c >= '0' && c <= '9') {
            if (firstNonZero < 0 && c != '0')
                firstNonZero = position;
            ++position;
            if (!inFraction)
                ++integerDigits;
        }
    }
    if (i < ascii.size()) {
        bool expNegative = false;
        ++i;
        if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-'))
            expNegative = ascii[i++] == '-';
        for (; i < ascii.size(); ++i)
            exponent = exponent > 100000000 ? exponent : exponent * 10 + (ascii[i] - '0');
        if (expNegative)
            exponent = -exponent;
    }
    if (firstNonZero < 0)
        return -1;  // zero itself never overflows
    return exponent + integerDigits - firstNonZero - 1;
}
}  // namespace

EInputNumber ParseInputInteger(std::wstring_view text, int64_t& value)
{
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return EInputNumber::kNotNumber;
    // Accumulate the magnitude as unsigned so that INT64_MIN is reachable.
    const uint64_t limit = negative ? uint64_t{1} << 63 : uint64_t{std::numeric_limits<int64_t>::max()};
    uint64_t magnitude = 0;
    bool overflow = false;
    for (wchar_t c : text) {
        if (!IsDigit(c))
            return EInputNumber::kNotNumber;
        const auto digit = static_cast<uint64_t>(c - L'0');
        if (!overflow && magnitude > (limit - digit) / 10)
            overflow = true;
        if (!overflow)
            magnitude = magnitude * 10 + digit;
    }
    if (overflow) {
        value = negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
        return negative ? EInputNumber::kBelowRange : EInputNumber::kAboveRange;
    }
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return EInputNumber::kOk;
}

EInputNumber ParseInputNumber(std::wstring_view text, double& value)
{
    text = Trimmed(text);
    // Check the grammar ourselves and hand from_chars a plain ASCII copy:
    // from_chars alone would take "inf", "nan" and refuse a leading "+".
    std::string ascii;
    ascii.reserve(text.size());
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        if (negative)
            ascii.push_back('-');
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ascii.push_back(static_cast<char>(text[i++]));
        ++digits;
    }
    if (i < text.size() && text[i] == L'.') {
        ascii.push_back('.');
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i++]));
            ++digits;
        }
    }
    if (digits == 0)
        return EInputNumber::kNotNumber;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        ascii.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
            ascii.push_back(static_cast<char>(text[i++]));
        size_t expDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i++]));
            ++expDigits;
        }
        if (expDigits == 0)
            return EInputNumber::kNotNumber;
    }
    if (i != text.size())
        return EInputNumber::kNotNumber;

    double parsed = 0.0;
    const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), parsed);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone: tell overflow from underflow by
        // the decimal exponent of the first significant digit.
        if (ScientificExponent(ascii) < 0) {
            value = negative ? -0.0 : 0.0;
            return EInputNumber::kOk;
        }
        value = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        return negative ? EInputNumber::kBelowRange : EInputNumber::kAboveRange;
    }
    if (ec != std::errc() || end != ascii.data() + ascii.size())
        return EInputNumber::kNotNumber;
    value = parsed;
    return EInputNumber::kOk;
}
