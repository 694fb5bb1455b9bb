#include "framework/win32/NFontDialog.h"

#include <commdlg.h>

bool NChooseFont(HWND owner, LOGFONTW& font)
{
    LOGFONTW working = font;
    CHOOSEFONTW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.lpLogFont = &working;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;
    if (!::ChooseFontW(&choose)) {
        ::SetLastError(::CommDlgExtendedError());
        return false;
    }
    font = working;
    return true;
}
