#pragma once
// The system's open and save file dialogs for one kind of file.
#include <windows.h>

#include <functional>
#include <string>

struct NFileDialogRequest {
    enum EKind { kOpen, kSave };

    EKind kind = kOpen;
    HWND owner = nullptr;
    std::wstring title;
    std::wstring filterName;     // shown in the type list, e.g. "Lumbra Command files (*.lmc)"
    std::wstring filterPattern;  // e.g. "*.lmc"
    std::wstring defaultExt;     // without the dot, e.g. "lmc"
    std::wstring initialDir;     // empty: the system's choice
    std::wstring initialName;    // proposed file name, may be empty
};

// True with path set when the user chose a file. False on Cancel (last error
// 0) or when the dialog failed (last error: the dialog's extended error).
// An open dialog only accepts existing files; a save dialog asks before
// replacing one.
bool NGetFileName(const NFileDialogRequest& request, std::wstring& path);

// GUI tests answer the dialog without a modal loop: while a hook is
// installed NGetFileName calls it instead. Returns the previous hook.
using NFileDialogHook = std::function<bool(const NFileDialogRequest& request, std::wstring& path)>;
NFileDialogHook NSetFileDialogHook(NFileDialogHook hook);
