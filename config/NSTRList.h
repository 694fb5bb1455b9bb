#pragma once
// A list of wide strings (manual commands, enumerated key and value names).
#include <string>
#include <vector>

using NSTRList = std::vector<std::wstring>;
