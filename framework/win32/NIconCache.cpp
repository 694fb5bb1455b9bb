#include "framework/win32/NIconCache.h"

NIconCache& NIconCache::Instance()
{
    static NIconCache cache;
    return cache;
}

void NIconCache::Bind(HMODULE module)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (module != m_module) {
        m_icons.clear();
        m_module = module;
    }
}

HMODULE NIconCache::Module() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_module;
}

void NIconCache::Clear()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_icons.clear();
}

HICON NIconCache::Get(UINT id, int size)
{
    if (size <= 0)
        size = ::GetSystemMetrics(SM_CXICON);
    std::lock_guard<std::mutex> guard(m_lock);
    HMODULE module = m_module != nullptr ? m_module : ::GetModuleHandleW(nullptr);
    auto found = m_icons.find({id, size});
    if (found != m_icons.end())
        return found->second.Get();
    HICON icon = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
    if (icon == nullptr)
        return nullptr;
    m_icons.emplace(std::make_pair(id, size), NIcon(icon));
    return icon;
}
