#pragma once
// Received bytes as text. Targets send UTF-8; what is not well-formed is
// repaired exactly as the platform's UTF-8 conversion repairs it (U+FFFD),
// so a line reads the same however it is later converted. Zero bytes are
// dropped: log texts are zero-terminated, and cutting the line at a padding
// NUL would lose what follows it.
#include <string>
#include <string_view>

// True when the bytes are their own text: ASCII without zero bytes.
bool LMRxIsPlainText(std::string_view bytes);

// Replaces out. Plain ASCII (the usual case) is copied without conversion.
void LMRxBytesToUtf8(std::string_view bytes, std::string& out);

// Replaces out with the UTF-16 text.
void LMRxBytesToWide(std::string_view bytes, std::wstring& out);
