#include "foundation/win32/TextFile.h"

#include "foundation/Utf.h"
#include "foundation/win32/AnsiCodePage.h"
#include "foundation/win32/Handles.h"

#include <windows.h>

#include <new>

namespace {

constexpr DWORD kChunk = 1u << 20;

}  // namespace

bool NTextFile::ReadBytes(const std::wstring& path, std::string& bytes)
{
    bytes.clear();
    NHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) return false;
    if (size.QuadPart >= 0x80000000LL) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    try {
        bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    // The file may shrink while it is read; what was there is what counts.
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, left < kChunk ? static_cast<DWORD>(left) : kChunk, &got,
                      nullptr)) {
            const DWORD error = GetLastError();
            bytes.clear();
            SetLastError(error);
            return false;
        }
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool NTextFile::Read(const std::wstring& path, std::wstring& text, NTextEncoding* encoding)
{
    text.clear();
    std::string bytes;
    if (!ReadBytes(path, bytes)) return false;
    try {
        if (!NDecodeText(bytes, &NAnsiCodePage::ToWide, text, encoding)) {
            SetLastError(ERROR_INVALID_DATA);
            return false;
        }
    } catch (const std::bad_alloc&) {
        text.clear();
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return true;
}

bool NTextFile::WriteUtf8(const std::wstring& path, std::wstring_view text)
{
    std::string bytes;
    try {
        bytes = NWideToUtf8(text);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return WriteBytes(path, bytes);
}

bool NTextFile::WriteBytes(const std::wstring& path, std::string_view bytes)
{
    const std::wstring temp = path + L".TMP";
    NHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;

    // From here on every failure removes the temporary file but reports the
    // error of the step that failed, not that of the clean-up.
    const auto fail = [&]() {
        const DWORD error = GetLastError();
        file.Reset();
        DeleteFileW(temp.c_str());
        SetLastError(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
        return false;
    };
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t left = bytes.size() - done;
        const DWORD want = left < kChunk ? static_cast<DWORD>(left) : kChunk;
        DWORD wrote = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, want, &wrote, nullptr)) return fail();
        if (wrote != want) {
            SetLastError(ERROR_DISK_FULL);
            return fail();
        }
        done += wrote;
    }
    if (!FlushFileBuffers(file.Get())) return fail();
    if (!CloseHandle(file.Release())) return fail();
    if (!MoveFileExW(temp.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
        return fail();
    return true;
}
