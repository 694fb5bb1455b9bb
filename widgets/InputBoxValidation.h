#pragma once
// The check an input box runs on its text after every change: one of seven
// kinds (0 = none) with its parameters. Portable, so the rules and their
// messages are tested without a window.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class InputBoxValidation {
public:
    enum EKind : uint8_t {
        kNone = 0,
        kAccept = 1,      // callback says yes or no
        kMessage = 2,     // callback gives the problem, empty when none
        kHint = 3,        // callback gives a hint; never refuses
        kNotEmpty = 4,
        kIntegerRange = 5,
        kNumberRange = 6,
        kUnique = 7,      // not empty (unless allowed) and not in a list
    };

    using AcceptFn = std::function<bool(const std::wstring& text)>;
    using TextFn = std::function<std::wstring(const std::wstring& text)>;

    struct SResult {
        bool passed = true;
        std::wstring message;  // shown under the field; empty hides the line
    };

    InputBoxValidation() = default;
    static InputBoxValidation Accept(AcceptFn accept);
    static InputBoxValidation Message(TextFn problem);
    static InputBoxValidation Hint(TextFn hint);
    static InputBoxValidation NotEmpty(bool trim);
    static InputBoxValidation IntegerRange(int64_t minimum, int64_t maximum);
    static InputBoxValidation NumberRange(double minimum, double maximum);
    static InputBoxValidation Unique(std::vector<std::wstring> used, bool trim, bool caseSensitive, bool allowEmpty);

    EKind Kind() const noexcept { return m_kind; }

    // Runs the check. A callback that throws counts as a refusal ("Invalid
    // entry"), or as no hint for kind 3: the dialog must stay usable.
    SResult Validate(const std::wstring& text) const;

    // The text the caller receives after OK: trimmed when the check trims,
    // so that what was compared against the list is what gets stored.
    std::wstring Accepted(const std::wstring& text) const;

private:
    EKind m_kind = kNone;
    AcceptFn m_accept;
    TextFn m_text;
    bool m_trim = false;
    bool m_caseSensitive = false;
    bool m_allowEmpty = false;
    int64_t m_intMin = 0, m_intMax = 0;
    double m_numMin = 0.0, m_numMax = 0.0;
    std::vector<std::wstring> m_used;
};
