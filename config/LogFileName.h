#pragma once
// The recording file of a console: the console name made safe as a file name
// ("\ / : * ? " < > |" and blank become "%" and two upper-case hex digits),
// in the recording folder, with ".log".
#include <string>
#include <string_view>

std::wstring LMEscapeLogName(std::wstring_view name);
// folder + "\" (unless it ends in one) + escaped name + ".log".
std::wstring LMComposeLogFileName(std::wstring_view folder, std::wstring_view name);
