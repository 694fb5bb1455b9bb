#pragma once
// The registry key name of a console the user adds: a fresh UUID in
// lower-case hexadecimal within braces, or "{}" when none can be created.
#include <string>

std::wstring LMNewConsoleKeyName();
