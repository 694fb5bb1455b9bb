#pragma once
// How a platform error number is shown to the user. The platform edge
// (foundation/win32/SystemErrorText.h) looks up the message; the shaping of
// the text is here so that it is the same everywhere and testable anywhere.
#include <cstdint>
#include <string>
#include <string_view>

namespace nsyserr {
constexpr uint32_t kShort = 0;
constexpr uint32_t kLong = 0x1;            // "Error " + decimal number + ": " + text
constexpr uint32_t kLeadingCrLf = 0x2;     // "\r\n" before the text
constexpr uint32_t kTrailingCrLf = 0x4;    // "\r\n" after the text
}  // namespace nsyserr

// The platform's message without trailing white space and full stops
// ("The system cannot find the file specified.\r\n" loses ".\r\n").
std::wstring NTrimSystemMessage(std::wstring_view message);

// "Unknown system error 0x" + 8 upper-case hexadecimal digits.
std::wstring NUnknownSystemErrorText(uint32_t code);

// The finished text for code. platformMessage is the platform's text as
// looked up (untrimmed); empty or all white space means the platform has none.
std::wstring NFormatSystemErrorText(uint32_t code, std::wstring_view platformMessage, uint32_t flags = nsyserr::kShort);
