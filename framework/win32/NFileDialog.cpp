#include "framework/win32/NFileDialog.h"

#include <commdlg.h>

#include <mutex>
#include <utility>
#include <vector>

namespace {

std::mutex g_hookLock;
NFileDialogHook g_hook;

// Long paths are allowed, so the buffer is larger than MAX_PATH.
constexpr DWORD kPathChars = 32768;

// "Name\0Pattern\0\0", the filter form the dialogs want; every file when the
// request names no pattern.
std::wstring FilterText(const NFileDialogRequest& request)
{
    std::wstring filter;
    if (request.filterPattern.empty()) {
        filter += L"All files (*.*)";
        filter.push_back(L'\0');
        filter += L"*.*";
    } else {
        filter += request.filterName.empty() ? request.filterPattern : request.filterName;
        filter.push_back(L'\0');
        filter += request.filterPattern;
    }
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

}  // namespace

NFileDialogHook NSetFileDialogHook(NFileDialogHook hook)
{
    std::lock_guard<std::mutex> guard(g_hookLock);
    std::swap(g_hook, hook);
    return hook;
}

bool NGetFileName(const NFileDialogRequest& request, std::wstring& path)
{
    path.clear();
    NFileDialogHook hook;
    {
        std::lock_guard<std::mutex> guard(g_hookLock);
        hook = g_hook;
    }
    if (hook) {
        ::SetLastError(0);
        return hook(request, path);
    }

    std::vector<wchar_t> buffer(kPathChars, L'\0');
    if (request.initialName.size() < kPathChars)
        request.initialName.copy(buffer.data(), request.initialName.size());
    const std::wstring filter = FilterText(request);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = request.owner != nullptr && ::IsWindow(request.owner) ? request.owner : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = kPathChars;
    ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.lpstrDefExt = request.defaultExt.empty() ? nullptr : request.defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (request.kind == NFileDialogRequest::kOpen)
        ofn.Flags |= OFN_FILEMUSTEXIST;
    else
        ofn.Flags |= OFN_OVERWRITEPROMPT;

    const BOOL chosen = request.kind == NFileDialogRequest::kOpen ? ::GetOpenFileNameW(&ofn) : ::GetSaveFileNameW(&ofn);
    if (!chosen) {
        ::SetLastError(::CommDlgExtendedError());
        return false;
    }
    path.assign(buffer.data());
    return true;
}
