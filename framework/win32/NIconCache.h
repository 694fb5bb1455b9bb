#pragma once
// The process-wide cache of icons loaded from the resource module, one per
// (resource ID, size). Bars and dialogs ask it instead of loading an icon per
// window; the icons live until the cache is emptied.
#include <windows.h>

#include <map>
#include <mutex>
#include <utility>

#include "foundation/win32/Handles.h"

class NIconCache {
public:
    static NIconCache& Instance();

    // Binds the cache to module; when it differs from the module the icons
    // came from, the cache is emptied first.
    void Bind(HMODULE module);
    HMODULE Module() const;

    // The icon of resource id at size x size pixels (0: the system's icon
    // size), or null with the last error. Not owned by the caller.
    HICON Get(UINT id, int size);

    void Clear();

private:
    NIconCache() = default;

    mutable std::mutex m_lock;
    HMODULE m_module = nullptr;                     // guarded by m_lock
    std::map<std::pair<UINT, int>, NIcon> m_icons;  // guarded by m_lock
};
