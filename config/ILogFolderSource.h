#pragma once
// Where recording files go: the global FileLogPath preference (copied under
// the global preferences lock) and, when that is empty, the directory of the
// running executable.
#include <string>

class ILMLogFolderSource {
public:
    virtual ~ILMLogFolderSource() = default;
    virtual std::wstring CopyFileLogPath() = 0;
    virtual std::wstring ExecutableDirectory() = 0;
};
