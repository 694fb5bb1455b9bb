#include "config/win32/NPSRegistry.h"

#include "config/win32/NRegKey.h"

bool NPSLoadAll(NPSStore& store)
{
    NRegKey key;
    const bool ok = store.LoadAll(key);
    const DWORD error = key.LastError();
    if (!ok && error != 0) ::SetLastError(error);
    return ok;
}

bool NPSSaveAll(NPSStore& store, bool force)
{
    NRegKey key;
    const bool ok = store.SaveAll(key, force);
    if (!ok && key.LastError() != 0) ::SetLastError(key.LastError());
    return ok;
}
