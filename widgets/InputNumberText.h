#pragma once
// Number syntax of the input box: what a user types for a whole number or a
// decimal number. Locale-independent, so "1.5" means the same on every system.
#include <cstdint>
#include <string_view>

enum class EInputNumber {
    kOk,
    kNotNumber,
    kAboveRange,  // well-formed, but larger than the type can hold
    kBelowRange,  // well-formed, but more negative than the type can hold
};

// Optional white space around an optional "+" or "-" and decimal digits.
// A number beyond 64 bits is still a number: it reports kAboveRange or
// kBelowRange (value saturated), so the user hears "too large" rather than
// "not an integer" for a long string of digits.
EInputNumber ParseInputInteger(std::wstring_view text, int64_t& value);

// Optional white space around an optional sign, digits with an optional
// decimal point (at least one digit) and an optional exponent ("e" or "E",
// optional sign, digits). "inf", "nan" and hexadecimal forms are refused: a
// NaN would slip through every range test. Overflow reports kAboveRange or
// kBelowRange by sign; underflow gives zero.
EInputNumber ParseInputNumber(std::wstring_view text, double& value);
