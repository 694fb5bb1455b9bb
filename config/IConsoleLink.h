#pragma once
// The run-time links of an open console as its configuration sees them: the
// console's user-interface thread (to reach its main window) and its
// communication worker (to read the connection state).
#include <cstdint>

class ILMConsoleLink {
public:
    virtual ~ILMConsoleLink() = default;
    // Posts message to the console thread's main window; false when the
    // thread has no window (yet or any more) or the post fails.
    virtual bool PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

class ILMCommLink {
public:
    static constexpr uint8_t kConnected = 2;
    virtual ~ILMCommLink() = default;
    // The worker's one-byte connection state, read atomically.
    virtual uint8_t ConnectionState() const = 0;
};
