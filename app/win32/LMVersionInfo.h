#pragma once
// The version resource of a module file.
#include <string>

#include "app/LMVersionText.h"

// False (with the last error) when the file has no readable version resource.
bool LMReadVersionInfo(const std::wstring& path, SLMVersion& version);
