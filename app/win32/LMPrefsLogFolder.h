#pragma once
// Where recording files go, as the global preferences say: FileLogPath
// (copied under the preferences lock), else the executable's folder.
#include "config/ILogFolderSource.h"

class LMPrefsLogFolder : public ILMLogFolderSource {
public:
    std::wstring CopyFileLogPath() override;
    std::wstring ExecutableDirectory() override;
};
