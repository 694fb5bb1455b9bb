#pragma once
// A console's shade set: one row per log kind (row index = kind) plus the 16
// custom colours of the colour picker. Built, filled and then installed; an
// installed set is never changed (other threads read it without a lock), so
// editing works on a copy that is installed as a new set.
#include "foundation/Containers.h"
#include "foundation/NClassInfo.h"
#include "shades/SLMShade.h"

#include <cstdint>
#include <string>
#include <string_view>

class INRandomSource;

class LMShades : public NClassInfo {
    N_DECLARE_CLASS_INFO(LMShades)
public:
    // Log kinds that are also the built-in rows.
    enum : uint8_t {
        kBackground = 0, kInfo, kWarning, kError, kDisaster, kTransmitted, kReceived, kRecdOpen,
        kAcknowledge, kUnsolicited, kNote, kProblem,
        kFirstUserKind = 12,
        kNoKind = 255,
    };
    static constexpr size_t kBuiltInRows = 12;
    // Kinds are one byte and 255 means "no kind": rows 0..254 are addressable,
    // and a set never grows past them.
    static constexpr size_t kMaxRows = 255;
    static constexpr size_t kCustomColours = 16;

    // A new set holds the defaults.
    LMShades();
    LMShades(const LMShades& other);
    LMShades& operator=(const LMShades& other);
    ~LMShades() override;

    // The 12 built-in rows and the 16 default custom colours.
    void SetDefaults();
    void Assign(const LMShades& other);

    size_t RowCount() const { return m_rows.size(); }
    const SLMShade& Row(size_t index) const { return index < m_rows.size() ? m_rows[index] : SLMShade::Empty(); }
    // The row for a kind, or the empty row beyond the last row.
    const SLMShade& RowForKind(uint8_t kind) const { return Row(kind); }
    const uint32_t* CustomColours() const { return m_custom; }
    void SetCustomColour(size_t index, uint32_t colour);

    // Row index, or -1.
    int FindByGuid(const LMGuid& guid) const;
    int FindByName(std::wstring_view name) const;  // case-insensitive
    int FindByLogMark(const char mark[4]) const;   // all 4 bytes
    int FindByPrefix(uint8_t prefix) const;        // first row, -1 for 0

    // Adds a new row or updates the row with the same GUID; index or -1 when
    // the row is refused (last error kInvalidParameter).
    int AddOrUpdate(const SLMShade& row);
    // Makes a user row with a new GUID, a free "Shade#nnnnn" name, an unused
    // prefix and mark, black on white. Index, or -1 when the random source
    // fails or the set is full.
    int NewRow(INRandomSource& random);

    // Kind of a received line by its first character (0 for an empty line).
    uint8_t ClassifyLine(uint32_t firstChar) const;
    uint8_t ClassifyLine(std::wstring_view line) const { return ClassifyLine(line.empty() ? 0u : static_cast<uint32_t>(line[0])); }

    // Compact for the stored configuration, pretty for ".lmshades" files.
    // Empty when the set has fewer than 12 rows.
    std::wstring ToJson(bool pretty) const;
    // All or nothing: on any fault the set holds the defaults and the result
    // is false (last error kInvalidData).
    bool FromJson(std::wstring_view text);

    // The text written as "LumbraShades.Meta": the producing program and its
    // version. Set once at start-up from the version resource.
    static void SetProducerText(std::wstring_view text);
    static std::wstring ProducerText();

    // The built-in rows' GUIDs in their text form, row order.
    static const wchar_t* const kBuiltInGuids[kBuiltInRows];

private:
    bool Import(std::wstring_view text);

    TNArrOf<SLMShade> m_rows;
    uint32_t m_custom[kCustomColours] = {};
};
