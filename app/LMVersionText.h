#pragma once
// The program's version information and its text form.
#include <cstdint>
#include <string>
#include <string_view>

struct SLMVersion {
    std::wstring productName;
    bool debug = false;
    uint16_t parts[4] = {0, 0, 0, 0};  // major, minor, patch, build
};

// "%p" product name, "%g" "Debug" or "Release", "%V" the version
// ("1.2.3", with ".build" when the build number is not 0), "%%" a percent
// sign; anything else is copied.
std::wstring LMFormatVersion(std::wstring_view format, const SLMVersion& version);
