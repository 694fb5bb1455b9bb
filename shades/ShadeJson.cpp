#include "shades/ShadeJson.h"

#include <cmath>

namespace {

bool ComponentFromJson(const Njv& colour, const wchar_t* key, uint32_t& out)
{
    Njv member;
    double v = 0;
    if (!colour.GetMember(key, member) || !member.GetNumber(v))
        return false;
    if (!(v >= 0 && v <= 255) || std::floor(v) != v)
        return false;
    out = static_cast<uint32_t>(v);
    return true;
}

bool StringMember(const Njv& object, const wchar_t* key, std::wstring& out)
{
    Njv member;
    return object.GetMember(key, member) && member.GetString(out);
}

}  // namespace

Njv LMColourToJson(uint32_t colour)
{
    Njv obj = Njv::MakeObject();
    obj.SetMember(L"R", Njv::MakeNumber(colour & 0xFF));
    obj.SetMember(L"G", Njv::MakeNumber((colour >> 8) & 0xFF));
    obj.SetMember(L"B", Njv::MakeNumber((colour >> 16) & 0xFF));
    return obj;
}

bool LMColourFromJson(const Njv& value, uint32_t& colour)
{
    if (!value.IsObject())
        return false;
    uint32_t r = 0, g = 0, b = 0;
    if (!ComponentFromJson(value, L"R", r) || !ComponentFromJson(value, L"G", g) ||
        !ComponentFromJson(value, L"B", b))
        return false;
    colour = r | g << 8 | b << 16;
    return true;
}

Njv LMShadeToJson(const SLMShade& row)
{
    Njv obj = Njv::MakeObject();
    obj.SetMember(L"GUID", Njv::MakeString(row.guid.ToText()));
    obj.SetMember(L"Name", Njv::MakeString(row.name));
    std::wstring prefix;
    if (row.prefix != 0)
        prefix.push_back(static_cast<wchar_t>(row.prefix));
    obj.SetMember(L"Prefix", Njv::MakeString(prefix));
    // Valid marks are ASCII, which every ANSI code page maps to itself.
    std::wstring mark;
    for (char c : row.Mark())
        mark.push_back(static_cast<wchar_t>(static_cast<uint8_t>(c)));
    obj.SetMember(L"LogMark", Njv::MakeString(mark));
    obj.SetMember(L"Fore", LMColourToJson(row.fore));
    obj.SetMember(L"Back", LMColourToJson(row.back));
    return obj;
}

bool LMShadeFromJson(const Njv& value, SLMShade& out)
{
    if (!value.IsObject())
        return false;
    SLMShade row = SLMShade::Empty();
    std::wstring text;
    if (!StringMember(value, L"GUID", text) || !LMGuid::Parse(text, row.guid) || row.guid.IsNil())
        return false;
    if (!StringMember(value, L"Name", row.name) || row.name.empty())
        return false;
    if (!StringMember(value, L"Prefix", text) || text.size() > 1)
        return false;
    if (!text.empty()) {
        if (static_cast<uint32_t>(text[0]) > 0x7F)
            return false;
        row.prefix = static_cast<uint8_t>(text[0]);
    }
    if (!StringMember(value, L"LogMark", text) || text.size() != 3)
        return false;
    char mark[3];
    for (int i = 0; i < 3; ++i) {
        if (static_cast<uint32_t>(text[i]) > 0x7F)
            return false;
        mark[i] = static_cast<char>(text[i]);
    }
    row.SetMark(std::string_view(mark, 3));
    Njv colour;
    if (!value.GetMember(L"Fore", colour) || !LMColourFromJson(colour, row.fore))
        return false;
    if (!value.GetMember(L"Back", colour) || !LMColourFromJson(colour, row.back))
        return false;
    out = std::move(row);
    return true;
}
