#pragma once
// Checks the integrity stamp of an executable file on disk.
#include <string>

#include "app/LMImageStamp.h"

// kNoBlock also when the file cannot be read (the last error says why).
lmstamp::EResult LMCheckImageFile(const std::wstring& path);
