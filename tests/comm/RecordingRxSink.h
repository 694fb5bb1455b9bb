#pragma once
// Test double of the line cutter's sink: records what it is handed, in order.
#include <string>
#include <string_view>
#include <vector>

#include "comm/LMLineCutter.h"

class RecordingRxSink : public ILMRxLineSink {
public:
    enum EKind { kLine, kForced, kHex, kOpen, kOpenHex };
    struct SEvent {
        EKind kind;
        std::string text;
        bool operator==(const SEvent&) const = default;
    };

    bool OnRxLine(std::string_view bytes, bool forced) override
    {
        events.push_back({forced ? kForced : kLine, std::string(bytes)});
        return --linesUntilFailure != 0;
    }
    void OnRxHexLine(std::string_view text) override { events.push_back({kHex, std::string(text)}); }
    void OnRxOpen(std::string_view text, bool hex) override
    {
        events.push_back({hex ? kOpenHex : kOpen, std::string(text)});
        openBytes += text.size();
    }

    // Complete and forced lines only, in order.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (const SEvent& e : events) {
            if (e.kind == kLine || e.kind == kForced || e.kind == kHex)
                lines.push_back(e.text);
        }
        return lines;
    }
    // The open rest when it was the last thing shown, else "<none>".
    std::string LastOpen() const
    {
        if (!events.empty() && (events.back().kind == kOpen || events.back().kind == kOpenHex))
            return events.back().text;
        return "<none>";
    }

    std::vector<SEvent> events;
    size_t openBytes = 0;
    // OnRxLine returns false on this call (counting down); 0 never.
    long linesUntilFailure = -1;
};
