#pragma once
// The full path of a module's file (the running executable by default),
// however long it is.
#include <windows.h>

#include <string>

std::wstring LMModulePath(HMODULE module = nullptr);
