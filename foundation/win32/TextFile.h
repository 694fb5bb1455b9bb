#pragma once
// Whole-file reading with encoding detection, and writing that never leaves a
// half-written file behind: the data goes to target + ".TMP", which is then
// moved over the target.
#include "foundation/TextEncoding.h"

#include <string>
#include <string_view>

class NTextFile {
public:
    // Reads the file and decodes it (7-bit and ANSI through the system code
    // page). Not text (an empty file included) fails with ERROR_INVALID_DATA.
    // On failure `text` is empty and the last error says why.
    static bool Read(const std::wstring& path, std::wstring& text, NTextEncoding* encoding = nullptr);

    // The file's bytes. Files of 2 GiB or more fail with ERROR_FILE_TOO_LARGE.
    static bool ReadBytes(const std::wstring& path, std::string& bytes);

    // Writes `text` as UTF-8 without a byte-order mark through the temporary file.
    static bool WriteUtf8(const std::wstring& path, std::wstring_view text);

    // Writes the bytes to path + ".TMP", flushes them and moves that file over
    // `path` (replacing it, copying across volumes, writing through). On any
    // failure the temporary file is removed, an existing target is untouched,
    // and the last error is the one of the step that failed.
    static bool WriteBytes(const std::wstring& path, std::string_view bytes);
};
