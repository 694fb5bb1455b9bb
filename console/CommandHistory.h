#pragma once
// The console's list of manual commands, most recently sent first, and its
// command files (one command per line).
//
// The list has no length limit and may hold an empty command: sending an empty
// edit field is a real command (it sends just the line end).
#include "foundation/TextEncoding.h"

#include <string>
#include <string_view>
#include <vector>

class CommandHistory {
public:
    using List = std::vector<std::wstring>;

    CommandHistory() = default;
    explicit CommandHistory(List entries) : m_entries(std::move(entries)) {}

    const List& Entries() const { return m_entries; }
    List& Entries() { return m_entries; }

    // Moves `text` to the front: every equal entry (exact, case-sensitive)
    // is removed first.
    void Send(std::wstring_view text);
    // Removes every entry equal to `text`; an unknown text changes nothing.
    void Delete(std::wstring_view text);
    // Drops entries that are blank as on import.
    void DropBlank();

    // UTF-8 without a byte-order mark, CR LF between commands, no line end
    // after the last.
    std::string ExportText() const;

    // Replaces the list with the lines of `text` that are not blank, in file
    // order. A leading byte-order mark is not part of the first command.
    void ImportText(std::wstring_view text);
    // Decodes a command file's bytes first; undecodable bytes leave the list
    // unchanged and fail with nerr::kInvalidData.
    bool ImportBytes(std::string_view bytes, const NAnsiDecoder& ansi);

    // Empty, or only backspace, tab, LF, VT, FF, CR and space.
    static bool IsBlank(std::wstring_view line);
    // Splits at CR LF, a lone CR or a lone LF. A line end at the very end
    // does not start another line.
    static List SplitLines(std::wstring_view text);

private:
    List m_entries;
};
