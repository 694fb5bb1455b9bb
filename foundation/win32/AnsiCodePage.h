#pragma once
// Conversions between UTF-16 and the system ANSI code page (recording files,
// shade marks, 7-bit and ANSI text files).
#include <string>
#include <string_view>

class NAnsiCodePage {
public:
    // Bytes the code page does not define become what the platform makes of
    // them (usually U+FFFD or a private-use character); nothing is dropped.
    static std::wstring ToWide(std::string_view ansi);
    // Characters the code page lacks become its default character ("?").
    static std::string FromWide(std::wstring_view wide);
};
