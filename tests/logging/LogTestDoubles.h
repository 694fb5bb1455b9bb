#pragma once
// Test doubles for the log: a listener that counts notices, a file sink that
// keeps the lines, an owner with a shade set.
#include "logging/ILMLogOwner.h"
#include "logging/ILogFileSink.h"
#include "logging/ILogListener.h"
#include "shades/LMShades.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

class CountingListener : public ILogListener {
public:
    explicit CountingListener(std::atomic<int>& count, bool valid = true, bool deliver = true)
        : m_count(count), m_valid(valid), m_deliver(deliver) {}
    bool IsValid() const override { return m_valid; }
    bool Notify(LMLog&) override
    {
        ++m_count;
        return m_deliver;
    }

private:
    std::atomic<int>& m_count;
    bool m_valid, m_deliver;
};

// Wakes a consumer thread, like the view's message queue.
class SignallingListener : public ILogListener {
public:
    bool IsValid() const override { return true; }
    bool Notify(LMLog&) override
    {
        std::lock_guard<std::mutex> g(lock);
        ++pending;
        ++total;
        cv.notify_one();
        return true;
    }
    std::mutex lock;
    std::condition_variable cv;
    int pending = 0;  // guarded by lock
    int total = 0;    // guarded by lock
};

class RecordingSink : public ILogFileSink {
public:
    bool IsRunning() const override { return running; }
    void WriteLine(std::string_view mark, std::string_view text, NTimeStamp stamp) override
    {
        std::lock_guard<std::mutex> g(lock);
        lines.push_back(std::string(mark) + " " + std::string(text));
        stamps.push_back(stamp);
    }
    void Stop() override
    {
        running = false;
        if (stopped != nullptr)
            *stopped = true;
    }
    std::atomic<bool> running{true};
    bool* stopped = nullptr;
    std::mutex lock;
    std::vector<std::string> lines;
    std::vector<NTimeStamp> stamps;
};

class ShadesOwner : public ILMLogOwner {
public:
    const LMShades* CurrentShades() const override { return &shades; }
    LMShades shades;
};
