#pragma once
// UTF-16 to UTF-8 into an existing string, reusing its buffer: the log's hot
// path converts every line and must not allocate once the buffer has grown.
// Gives exactly the bytes of NWideToUtf8 (lone surrogates and units above
// 0xFFFF become U+FFFD).
#include <string>
#include <string_view>

void NAssignUtf8(std::string& out, std::wstring_view wide);
