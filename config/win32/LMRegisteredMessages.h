#pragma once
// The program's registered window messages, registered by name once during
// static initialisation (before any window or thread exists).
#include <windows.h>

#include "config/LMMessageNames.h"

// The message number of message; 0 only if the registration failed.
UINT LMMessage(lmmsg::EMessage message);
