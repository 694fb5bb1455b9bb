// The program's entry point.
#include <windows.h>

#include "app/win32/LMApp.h"

namespace {
LMApp g_app;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    return g_app.Main(instance, showCommand);
}
