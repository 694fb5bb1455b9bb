#pragma once
// The slot for the console's file log worker: the log hands it every entry
// except Rec'd Open while its thread runs. The line written is the mark, one
// blank and the text.
#include "foundation/NTimeStamp.h"

#include <string_view>

class ILogFileSink {
public:
    virtual ~ILogFileSink() = default;
    // True while the worker's thread runs (recording is on).
    virtual bool IsRunning() const = 0;
    // Any producer thread, without the log's lock. mark: bytes in the system
    // ANSI code page (empty when the shade has no row for the kind); text:
    // UTF-8. Must not call back into the log.
    virtual void WriteLine(std::string_view mark, std::string_view text, NTimeStamp stamp) = 0;
    // Ends the worker's thread; called once when the log is destroyed.
    virtual void Stop() = 0;
};
