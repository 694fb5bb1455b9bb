#include "shades/LMShades.h"

#include "foundation/ErrorCodes.h"
#include "foundation/INRandomSource.h"
#include "foundation/LastError.h"
#include "foundation/Njv.h"
#include "shades/NameFold.h"
#include "shades/ShadeJson.h"

#include <cstring>
#include <mutex>

N_DEFINE_CLASS_INFO(LMShades, NClassInfo)

namespace {

struct SBuiltIn {
    const wchar_t* name;
    uint8_t prefix;
    const char* mark;
    uint32_t fore, back;
};

constexpr SBuiltIn kBuiltIn[LMShades::kBuiltInRows] = {
    {L"Background", 0, "   ", 0x000000, 0x999999},
    {L"Info", 0, "Nfo", 0x000000, 0xFFFFFF},
    {L"Warning", 0, "Wrn", 0x993366, 0xFFCCFF},
    {L"Error", 0, "Err", 0x9999FF, 0x000099},
    {L"Disaster", 0, "Dis", 0x00FFFF, 0x000099},
    {L"Transmitted", 0, "TxD", 0x6633CC, 0xFFFFFF},
    {L"Received", 0, "RxD", 0x009900, 0xFFFFFF},
    {L"Rec'd Open", 0, "Rxo", 0x006699, 0xFFFFFF},
    {L"Acknowledge", '=', "Ack", 0x333300, 0xCCFFCC},
    {L"Unsolicited", '_', "Uns", 0xFF6600, 0xFFFFFF},
    {L"Note", '*', "Not", 0x990000, 0xFFCCCC},
    {L"Problem", '!', "Prb", 0x000066, 0x33CCFF},
};

constexpr uint32_t kDefaultCustom[LMShades::kCustomColours] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

std::mutex& ProducerLock()
{
    static std::mutex lock;
    return lock;
}

std::wstring& ProducerTextStore()
{
    static std::wstring text = L"Lumbra";
    return text;
}

// A random printable character other than blank: "!" + r * 94 / 256.
char RandomPrintable(INRandomSource& random, bool& ok)
{
    uint8_t r = 0;
    ok = random.GetBytes(&r, 1);
    return static_cast<char>('!' + r * 94 / 256);
}

// Bounds the redraws of NewRow: with 255 rows at most, a free choice exists
// almost always; a source that keeps answering the same bytes must not hang.
constexpr int kMaxDraws = 4096;

}  // namespace

const wchar_t* const LMShades::kBuiltInGuids[kBuiltInRows] = {
    L"e6709e82-6ede-490d-a7d1-e93ca48534f7", L"3cdb5496-bbff-4c50-995c-3d4a070b9800",
    L"48cb2e82-296a-4e59-b2e8-a9085208b11a", L"5d4c129f-b54e-4e09-bc88-269d2dc5a6bd",
    L"aed2110f-2b3e-459f-acbc-ec90e7a83b68", L"658d4293-e57a-4385-82a7-6d76cf360088",
    L"3b7f12b3-2dcd-4a59-9bb3-b9b7bbccc211", L"8bf0421f-3919-4521-9b12-8bc2a3857139",
    L"2b04c57f-9366-486e-8cb3-524235c96029", L"69e29826-46d2-4d08-be0b-a4f61775a55c",
    L"2ba00746-701f-4c44-b940-13dffc571ae7", L"26ca1300-2a57-49e0-bca6-f7c023fc456a",
};

LMShades::LMShades() { SetDefaults(); }

LMShades::LMShades(const LMShades& other) : NClassInfo(other) { Assign(other); }

LMShades& LMShades::operator=(const LMShades& other)
{
    Assign(other);
    return *this;
}

LMShades::~LMShades() = default;

void LMShades::SetDefaults()
{
    m_rows.clear();
    m_rows.reserve(kBuiltInRows);
    for (size_t i = 0; i < kBuiltInRows; ++i) {
        SLMShade row;
        row.name = kBuiltIn[i].name;
        LMGuid::Parse(kBuiltInGuids[i], row.guid);
        row.prefix = kBuiltIn[i].prefix;
        row.SetMark(kBuiltIn[i].mark);
        row.fore = kBuiltIn[i].fore;
        row.back = kBuiltIn[i].back;
        m_rows.push_back(std::move(row));
    }
    std::memcpy(m_custom, kDefaultCustom, sizeof m_custom);
}

void LMShades::Assign(const LMShades& other)
{
    if (&other == this)
        return;
    m_rows = other.m_rows;
    std::memcpy(m_custom, other.m_custom, sizeof m_custom);
}

void LMShades::SetCustomColour(size_t index, uint32_t colour)
{
    if (index < kCustomColours && colour <= SLMShade::kMaxColour)
        m_custom[index] = colour;
}

int LMShades::FindByGuid(const LMGuid& guid) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].guid == guid)
            return static_cast<int>(i);
    return -1;
}

int LMShades::FindByName(std::wstring_view name) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (NNamesEqualNoCase(m_rows[i].name, name))
            return static_cast<int>(i);
    return -1;
}

int LMShades::FindByLogMark(const char mark[4]) const
{
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (std::memcmp(m_rows[i].mark, mark, 4) == 0)
            return static_cast<int>(i);
    return -1;
}

int LMShades::FindByPrefix(uint8_t prefix) const
{
    if (prefix == 0)
        return -1;
    size_t n = m_rows.size() < kMaxRows ? m_rows.size() : kMaxRows;
    for (size_t i = 0; i < n; ++i)
        if (m_rows[i].prefix == prefix)
            return static_cast<int>(i);
    return -1;
}

int LMShades::AddOrUpdate(const SLMShade& row)
{
    bool valid = m_rows.size() >= kBuiltInRows && !row.name.empty() && !row.guid.IsNil() &&
                 (row.prefix == 0 || SLMShade::IsPrintable(row.prefix)) && row.HasValidMark() &&
                 row.fore <= SLMShade::kMaxColour && row.back <= SLMShade::kMaxColour;
    if (!valid) {
        NSetLastError(nerr::kInvalidParameter);
        return -1;
    }
    int byGuid = FindByGuid(row.guid);
    int byName = FindByName(row.name);
    int byMark = FindByLogMark(row.mark);
    if (byGuid >= 0) {
        if ((byName >= 0 && byName != byGuid) || (byMark >= 0 && byMark != byGuid)) {
            NSetLastError(nerr::kAlreadyExists);
            return -1;
        }
        SLMShade& target = m_rows[static_cast<size_t>(byGuid)];
        if (static_cast<size_t>(byGuid) >= kBuiltInRows) {
            target.name = row.name;
            target.prefix = row.prefix;
        } else if (target.prefix != 0 && row.prefix != 0) {
            // A built-in row keeps its name, and whether it has a prefix at all.
            target.prefix = row.prefix;
        }
        std::memcpy(target.mark, row.mark, sizeof target.mark);
        target.fore = row.fore;
        target.back = row.back;
        return byGuid;
    }
    if (byName >= 0 || byMark >= 0) {
        NSetLastError(nerr::kAlreadyExists);
        return -1;
    }
    // A row past kind 254 could never be addressed; refusing keeps every
    // lookup within one byte.
    if (m_rows.size() >= kMaxRows) {
        NSetLastError(nerr::kInvalidParameter);
        return -1;
    }
    m_rows.push_back(row);
    return static_cast<int>(m_rows.size() - 1);
}

int LMShades::NewRow(INRandomSource& random)
{
    if (m_rows.size() >= kMaxRows) {
        NSetLastError(nerr::kInvalidParameter);
        return -1;
    }
    SLMShade row;
    if (!LMGuid::Create(random, row.guid))
        return -1;
    // A "new" row must never update an existing one (a source that repeats).
    if (FindByGuid(row.guid) >= 0) {
        NSetLastError(nerr::kAlreadyExists);
        return -1;
    }
    bool ok = false;
    int draws = 0;
    do {
        uint16_t n = 0;
        ok = random.GetBytes(&n, sizeof n);
        row.name = L"Shade#00000";
        for (size_t d = row.name.size(); n != 0; n = static_cast<uint16_t>(n / 10))
            row.name[--d] = static_cast<wchar_t>(L'0' + n % 10);
    } while (ok && FindByName(row.name) >= 0 && ++draws < kMaxDraws);
    if (!ok)
        return -1;
    if (draws >= kMaxDraws) {
        NSetLastError(nerr::kAlreadyExists);
        return -1;
    }
    draws = 0;
    do {
        row.prefix = static_cast<uint8_t>(RandomPrintable(random, ok));
    } while (ok && FindByPrefix(row.prefix) >= 0 && ++draws < kMaxDraws);
    // Past 94 rows every prefix is taken; prefixes need not be unique (the
    // first row wins), so the last draw is kept.
    if (!ok)
        return -1;
    draws = 0;
    do {
        char mark[3];
        for (char& c : mark)
            if (ok)
                c = RandomPrintable(random, ok);
        row.SetMark(std::string_view(mark, 3));
    } while (ok && FindByLogMark(row.mark) >= 0 && ++draws < kMaxDraws);
    if (!ok)
        return -1;
    if (draws >= kMaxDraws) {
        NSetLastError(nerr::kAlreadyExists);
        return -1;
    }
    row.fore = 0x000000;
    row.back = 0xFFFFFF;
    return AddOrUpdate(row);
}

uint8_t LMShades::ClassifyLine(uint32_t firstChar) const
{
    if (SLMShade::IsPrintable(firstChar)) {
        int i = FindByPrefix(static_cast<uint8_t>(firstChar));
        if (i >= 0)
            return static_cast<uint8_t>(i);
    }
    return kReceived;
}

std::wstring LMShades::ToJson(bool pretty) const
{
    if (m_rows.size() < kBuiltInRows)
        return std::wstring();
    Njv root = Njv::MakeObject();
    root.SetMember(L"LumbraShades.Meta", Njv::MakeString(ProducerText()));
    Njv rows = Njv::MakeArray();
    for (const SLMShade& row : m_rows)
        rows.Append(LMShadeToJson(row));
    root.SetMember(L"Shades", rows);
    Njv colours = Njv::MakeArray();
    for (uint32_t c : m_custom)
        colours.Append(LMColourToJson(c));
    root.SetMember(L"CustomColors", colours);
    std::wstring out;
    if (!root.Write(out, pretty, false))
        return std::wstring();
    return out;
}

bool LMShades::FromJson(std::wstring_view text)
{
    SetDefaults();
    if (Import(text))
        return true;
    SetDefaults();
    NSetLastError(nerr::kInvalidData);
    return false;
}

bool LMShades::Import(std::wstring_view text)
{
    Njv root;
    if (!root.ParseWhole(text) || !root.IsObject())
        return false;
    Njv member;
    if (!root.GetMember(L"LumbraShades.Meta", member) || !member.IsString())
        return false;
    Njv rows;
    if (!root.GetMember(L"Shades", rows) || !rows.IsArray())
        return false;
    size_t count = rows.Count();
    // More rows than one-byte kinds can address: refuse before reading any.
    if (count > kMaxRows)
        return false;
    // A file that lists one row twice is ambiguous (which colours win?), so
    // each GUID may appear once.
    TNArrOf<LMGuid> seen;
    seen.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        Njv element;
        SLMShade row;
        if (!rows.GetAt(static_cast<ptrdiff_t>(i), element) || !LMShadeFromJson(element, row))
            return false;
        for (const LMGuid& g : seen)
            if (g == row.guid)
                return false;
        seen.push_back(row.guid);
        if (AddOrUpdate(row) < 0)
            return false;
    }
    Njv colours;
    if (!root.GetMember(L"CustomColors", colours) || !colours.IsArray() || colours.Count() != kCustomColours)
        return false;
    uint32_t custom[kCustomColours];
    for (size_t i = 0; i < kCustomColours; ++i) {
        Njv element;
        if (!colours.GetAt(static_cast<ptrdiff_t>(i), element) || !LMColourFromJson(element, custom[i]))
            return false;
    }
    std::memcpy(m_custom, custom, sizeof m_custom);
    return true;
}

void LMShades::SetProducerText(std::wstring_view text)
{
    std::lock_guard<std::mutex> guard(ProducerLock());
    ProducerTextStore().assign(text);
}

std::wstring LMShades::ProducerText()
{
    std::lock_guard<std::mutex> guard(ProducerLock());
    return ProducerTextStore();
}
