#pragma once
// Registry string data: UTF-16 little-endian code units, whatever the width
// of wchar_t, so that the same bytes are stored and checksummed everywhere.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/NSTRList.h"

// Appends text's code units as little-endian bytes.
void NAppendUtf16Bytes(std::wstring_view text, std::vector<uint8_t>& out);
// REG_SZ data: the text and its terminating zero.
std::vector<uint8_t> NEncodeRegSz(std::wstring_view text);
// The text of REG_SZ data: up to the first zero unit, or all whole units.
std::wstring NDecodeRegSz(const uint8_t* data, size_t size);
// REG_MULTI_SZ data: each element and its zero, then one more zero.
std::vector<uint8_t> NEncodeRegMultiSz(const NSTRList& list);
// The elements of REG_MULTI_SZ data. Only zeros at the very end end the list,
// so an empty element written in the middle comes back instead of cutting
// off the rest.
NSTRList NDecodeRegMultiSz(const uint8_t* data, size_t size);
