#pragma once
// Names of every registered window message of the program, each registered
// once at static initialisation (config/win32/LMRegisteredMessages.h).
#include <cstddef>

namespace lmmsg {
enum EMessage : size_t {
    kConsolePopUpMenu,
    kCOMEnumUpdated,
    kBringToFront,
    kMinimize,
    kUpdateLogging,
    kUpdateSetup,
    kUpdateDevice,
    kResetBoard,
    kShutdown,
    kOnDirWatch,
    kOnDirChange,
    kOnConnect,
    kRecalcLayout,
    kFromLog,
    kCmdAutoSizeReq,
    kDrawnCallback,
    kAutoSize,
    kAutoSizeResized,
    kAutoSizeCol,
    kInputChanged,
    kCount
};

// The registration name of message (exactly as other processes' and
// plug-ins' code registers it).
const wchar_t* Name(EMessage message);
}  // namespace lmmsg
