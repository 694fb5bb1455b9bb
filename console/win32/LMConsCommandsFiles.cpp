// The command history's export to and import from command files.
#include "console/win32/LMConsCommands.h"

#include "config/LMConsConfig.h"
#include "foundation/NTimeStamp.h"
#include "foundation/win32/SystemErrorText.h"
#include "foundation/win32/TextFile.h"
#include "framework/win32/NFileDialog.h"
#include "framework/win32/NMessageBox.h"
#include "logging/LMLog.h"

#include <shlobj.h>

#include <vector>

namespace {

std::wstring ExpandEnvironment(const std::wstring& text)
{
    const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0)
        return text;
    std::vector<wchar_t> buffer(needed, L'\0');
    const DWORD got = ::ExpandEnvironmentStringsW(text.c_str(), buffer.data(), needed);
    if (got == 0 || got > needed)
        return text;
    return std::wstring(buffer.data());
}

bool IsFolder(const std::wstring& path)
{
    if (path.empty())
        return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The folder part of a full file name; a drive's root keeps its backslash.
std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return std::wstring();
    if (slash == 0 || (slash == 2 && path[1] == L':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

NFileDialogRequest CommandFileRequest(NFileDialogRequest::EKind kind, HWND owner, const wchar_t* title,
                                      std::wstring folder)
{
    NFileDialogRequest request;
    request.kind = kind;
    request.owner = owner;
    request.title = title;
    request.filterName = LMConsCommands::kFilterName;
    request.filterPattern = LMConsCommands::kFilterPattern;
    request.defaultExt = LMConsCommands::kDefaultExt;
    request.initialDir = std::move(folder);
    return request;
}

}  // namespace

std::wstring LMConsCommands::StartFolder() const
{
    const std::wstring chosen = ExpandEnvironment(m_config.CopyString(&LMConsSettings::FolderCmd));
    if (IsFolder(chosen))
        return chosen;
    const std::wstring folder = ExpandEnvironment(kDefaultFolder);
    // A first export would otherwise start wherever the dialog likes; the
    // folder is only a convenience, so failing to create it is not an error.
    if (!IsFolder(folder) && folder.find(L'%') == std::wstring::npos)
        ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return folder;
}

void LMConsCommands::RememberFolderOf(const std::wstring& path)
{
    const std::wstring folder = FolderOf(path);
    if (!folder.empty())
        m_config.SetFolderCmd(folder);
}

void LMConsCommands::ReportFileFailure(HWND owner, DWORD error, const wchar_t* logText, const wchar_t* boxText,
                                       const wchar_t* caption, UINT icon, const std::wstring& path)
{
    const std::wstring why = NSystemErrorText(error);
    const NTimeStamp now = NTimeStamp::LocalNow();
    m_log.AddError(std::wstring(logText) + path, now);
    m_log.AddError(why, now);
    NMessageBox(owner, std::wstring(boxText) + path + L"\r\n" + why, caption, MB_OK | icon);
}

bool LMConsCommands::Export(HWND owner)
{
    CommandHistory history = LoadHistory();
    history.DropBlank();
    StoreHistory(history);
    Fill();
    if (history.Entries().empty()) {
        static constexpr const wchar_t* kEmpty = L"Command list is empty - nothing to export";
        m_log.AddWarning(kEmpty, NTimeStamp::LocalNow());
        NMessageBox(owner, kEmpty, L"Command Export", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    const std::string bytes = history.ExportText();

    std::wstring path;
    if (!NGetFileName(CommandFileRequest(NFileDialogRequest::kSave, owner, L"Please specify command export file",
                                         StartFolder()),
                      path))
        return false;

    if (!NTextFile::WriteBytes(path, bytes)) {
        ReportFileFailure(owner, ::GetLastError(), L"Unable to save commands to: ", L"Could not save commands to file\r\n",
                          L"Command Export Error", MB_ICONWARNING, path);
        return false;
    }
    RememberFolderOf(path);
    return true;
}

bool LMConsCommands::Import(HWND owner)
{
    std::wstring path;
    if (!NGetFileName(CommandFileRequest(NFileDialogRequest::kOpen, owner, L"Please specify command import file",
                                         StartFolder()),
                      path))
        return false;

    std::wstring text;
    if (!NTextFile::Read(path, text)) {
        ReportFileFailure(owner, ::GetLastError(), L"Unable to load commands from: ",
                          L"Could not load commands from file\r\n", L"Command Import Error", MB_ICONERROR, path);
        return false;
    }
    m_log.AddInfo(L"Commands imported from: " + path, NTimeStamp::LocalNow());
    CommandHistory history;
    history.ImportText(text);
    StoreHistory(history);
    Fill();
    RememberFolderOf(path);
    return true;
}
