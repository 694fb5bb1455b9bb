#pragma once
// A 16-byte identifier in the platform's GUID memory layout (first three
// fields little-endian), so that it can be copied to and from a Win32 GUID
// byte for byte.
#include <cstdint>
#include <string>
#include <string_view>

class INRandomSource;

struct LMGuid {
    uint8_t bytes[16] = {};

    bool IsNil() const;
    friend bool operator==(const LMGuid& a, const LMGuid& b);

    // The standard 36-character lower-case form without braces.
    std::wstring ToText() const;
    // Accepts the 36-character form, with or without braces, in either letter
    // case. False (and out untouched) for anything else.
    static bool Parse(std::wstring_view text, LMGuid& out);
    // A random (version 4) UUID; false with the source's last error when the
    // source fails, leaving out nil.
    static bool Create(INRandomSource& random, LMGuid& out);
};
