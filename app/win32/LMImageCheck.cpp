#include "app/win32/LMImageCheck.h"

#include <windows.h>

#include "foundation/win32/Handles.h"

lmstamp::EResult LMCheckImageFile(const std::wstring& path)
{
    NHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return lmstamp::EResult::kNoBlock;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > (256LL << 20)) {
        ::SetLastError(ERROR_FILE_TOO_LARGE);
        return lmstamp::EResult::kNoBlock;
    }
    std::vector<uint8_t> image(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < image.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.Get(), image.data() + done, static_cast<DWORD>(image.size() - done), &got, nullptr) ||
            got == 0)
            return lmstamp::EResult::kNoBlock;
        done += got;
    }
    return lmstamp::CheckImageStamp(image);
}
