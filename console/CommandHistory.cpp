#include "console/CommandHistory.h"

#include "foundation/Utf.h"

#include <algorithm>

void CommandHistory::Send(std::wstring_view text)
{
    Delete(text);
    m_entries.insert(m_entries.begin(), std::wstring(text));
}

void CommandHistory::Delete(std::wstring_view text)
{
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [text](const std::wstring& entry) { return entry == text; }),
                    m_entries.end());
}

void CommandHistory::DropBlank()
{
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [](const std::wstring& entry) { return IsBlank(entry); }),
                    m_entries.end());
}

std::string CommandHistory::ExportText() const
{
    std::wstring joined;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (i > 0) joined += L"\r\n";
        joined += m_entries[i];
    }
    return NWideToUtf8(joined);
}

void CommandHistory::ImportText(std::wstring_view text)
{
    // Editors put a byte-order mark in front; sent to a board it would be a
    // stray character in front of the first command.
    if (!text.empty() && text.front() == 0xFEFF) text.remove_prefix(1);
    List lines = SplitLines(text);
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::wstring& line) { return IsBlank(line); }),
                lines.end());
    m_entries = std::move(lines);
}

bool CommandHistory::ImportBytes(std::string_view bytes, const NAnsiDecoder& ansi)
{
    std::wstring text;
    if (!NDecodeText(bytes, ansi, text)) return false;
    ImportText(text);
    return true;
}

bool CommandHistory::IsBlank(std::wstring_view line)
{
    return std::all_of(line.begin(), line.end(), [](wchar_t c) {
        return c == 0x08 || c == 0x09 || c == 0x0A || c == 0x0B || c == 0x0C || c == 0x0D || c == 0x20;
    });
}

CommandHistory::List CommandHistory::SplitLines(std::wstring_view text)
{
    List lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (c != L'\r' && c != L'\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        i += (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}
