#include "shades/SLMShade.h"

#include <cstring>

const SLMShade& SLMShade::Empty()
{
    static const SLMShade empty{};
    return empty;
}

bool SLMShade::HasValidMark() const
{
    return IsPrintable(static_cast<uint8_t>(mark[0])) && IsPrintable(static_cast<uint8_t>(mark[1])) &&
           IsPrintable(static_cast<uint8_t>(mark[2])) && mark[3] == 0;
}

std::string_view SLMShade::Mark() const
{
    size_t n = 0;
    while (n < 3 && mark[n] != 0)
        ++n;
    return std::string_view(mark, n);
}

void SLMShade::SetMark(std::string_view text)
{
    std::memset(mark, 0, sizeof mark);
    std::memcpy(mark, text.data(), text.size() < 3 ? text.size() : 3);
}

bool SLMShade::SameMark(const SLMShade& other) const
{
    return std::memcmp(mark, other.mark, sizeof mark) == 0;
}
