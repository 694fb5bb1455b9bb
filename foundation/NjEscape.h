#pragma once
// The JSON escapes that stand for one character, in one table so that what
// the writer escapes is exactly what the parser reads back.

struct SNjEscape {
    wchar_t character;
    wchar_t letter;  // after the backslash
};

inline constexpr SNjEscape kNjEscapes[] = {{L'"', L'"'},  {L'\\', L'\\'}, {L'\b', L'b'}, {L'\f', L'f'},
                                           {L'\n', L'n'}, {L'\r', L'r'},  {L'\t', L't'}};

// The letter that follows the backslash for c, or 0 when c has none.
constexpr wchar_t NjEscapeLetter(wchar_t c) noexcept
{
    for (const SNjEscape& e : kNjEscapes)
        if (e.character == c) return e.letter;
    return 0;
}

// The character a backslash and letter stand for. Solidus and any letter
// without a meaning of its own stand for themselves; "\u" is the caller's.
constexpr wchar_t NjUnescape(wchar_t letter) noexcept
{
    for (const SNjEscape& e : kNjEscapes)
        if (e.letter == letter) return e.character;
    return letter;
}
