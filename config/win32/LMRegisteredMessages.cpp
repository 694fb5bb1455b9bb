#include "config/win32/LMRegisteredMessages.h"

#include <array>

namespace {
std::array<UINT, lmmsg::kCount> RegisterAll()
{
    std::array<UINT, lmmsg::kCount> ids{};
    for (size_t i = 0; i < lmmsg::kCount; ++i)
        ids[i] = ::RegisterWindowMessageW(lmmsg::Name(static_cast<lmmsg::EMessage>(i)));
    return ids;
}

const std::array<UINT, lmmsg::kCount>& Messages()
{
    static const std::array<UINT, lmmsg::kCount> ids = RegisterAll();
    return ids;
}

// Forces the registration at static initialisation.
const bool g_registered = (Messages(), true);
}  // namespace

UINT LMMessage(lmmsg::EMessage message)
{
    return message < lmmsg::kCount ? Messages()[message] : 0;
}
