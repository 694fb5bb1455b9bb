#pragma once
// Where a log sends its "entries are waiting" notice: on Win32 a posted
// registered message to the console view (logging/win32/LMLogWindowListener.h).
class LMLog;

class ILogListener {
public:
    virtual ~ILogListener() = default;
    // Whether notices can be delivered at all (window exists, message registered).
    virtual bool IsValid() const = 0;
    // Called with the log's lock held: must not block and must not call back
    // into the log (posting a message is fine, draining is not). False when
    // the notice could not be delivered; the log then re-arms, so the next
    // entry tries again instead of the queue growing unseen.
    virtual bool Notify(LMLog& log) = 0;
};
