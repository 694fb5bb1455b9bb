#pragma once
// Told when a log's display queue, after it had backed up past its high-water
// mark, has been drained below its low-water mark. The communication worker
// uses it to resume reading its transport.
class ILogDrainListener {
public:
    virtual ~ILogDrainListener() = default;
    // Called on the draining (view's) thread with the log's lock held: must
    // not block and must not call back into the log. Setting an event is fine.
    virtual void OnLogDrained() = 0;
};
