#pragma once
// The name of the single-instance wake-up event: the executable's file name
// (everything after the last backslash), a tab and "WakeUpEvent". Built from
// the file name only, so copies under other names run side by side.
#include <string>
#include <string_view>

std::wstring LMWakeUpEventName(std::wstring_view executablePath);
