#pragma once
// Owner of a common-controls image list.
#include <windows.h>
#include <commctrl.h>

#include "foundation/win32/Handles.h"

namespace nhandle_traits {
struct SImageList {
    using Type = HIMAGELIST;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::ImageList_Destroy(h); }
};
}  // namespace nhandle_traits

using NImageList = NUniqueHandle<nhandle_traits::SImageList>;
