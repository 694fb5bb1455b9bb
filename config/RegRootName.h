#pragma once
// The names of the registry roots in textual key paths ("HKCU\SOFTWARE\...").
// Each root has three names (full, short, and with K), compared ignoring case.
#include <string_view>

enum class NRegRoot { kNone = -1, kClassesRoot, kCurrentConfig, kCurrentUser, kLocalMachine, kUsers, kPerformanceData, kDynData };

NRegRoot NRegRootFromName(std::wstring_view name);

// Splits a path at its first "\": the root's name and the rest (without
// leading or doubled separators). False for an empty path or unknown root.
bool NSplitRegPath(std::wstring_view path, NRegRoot& root, std::wstring& subPath);
