#pragma once
// The system's font dialog, started from font; on OK font is the choice.
#include <windows.h>

// True when the user chose a font; false on Cancel or failure (the last error
// is the dialog's extended error then, 0 on Cancel).
bool NChooseFont(HWND owner, LOGFONTW& font);
