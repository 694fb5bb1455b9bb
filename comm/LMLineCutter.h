#pragma once
// Cuts the received byte stream of a console into lines.
//
// Bytes are appended to a pending buffer and cut by the console's Rx
// termination, wrap width and receive time-out; complete lines, Hex Mode
// lines and the still open rest go to a sink. While a procedure runs, lines
// end at CR LF only and are not wrapped.
//
// Bounds: the pending buffer never holds more than kMaxPendingLine bytes
// after a call returns, also while a procedure runs or when no wrap is set (a
// target that never ends its line would otherwise grow it without limit). A
// line cut at that bound is forced while a procedure runs (it is not a reply),
// and handled like a wrapped line otherwise. The open rest is re-shown on
// every chunk while it is short; a longer one only when it has grown by a
// quarter since it was last shown (RefreshOpen catches up when the stream
// pauses), so a long line arriving in small pieces costs linear, not
// quadratic, time.
//
// Speed: no allocation per line or byte once the buffer has grown; the
// terminator search is memchr and resumes where the previous search of the
// same rule stopped.
//
// One thread only (the communication worker). The sink must not call back
// into the cutter.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "comm/LMTermination.h"
#include "foundation/NTimeStamp.h"

// The console settings the cutter reads, taken afresh for every call so that
// a changed configuration takes effect at once.
struct SLMRxSettings {
    uint32_t rxTerm = lmrx::kAutomatic;
    uint32_t rxWrap = 80;        // 0: no wrap
    uint32_t rxTimeoutMs = 0;    // 0: no time-out flush
    bool procedureActive = false;
};

class ILMRxLineSink {
public:
    virtual ~ILMRxLineSink() = default;
    // A line without its terminator. forced: flushed unterminated (receive
    // time-out, before a send, or the length bound during a procedure).
    // The view is valid only during the call. False ends the connection.
    virtual bool OnRxLine(std::string_view bytes, bool forced) = 0;
    // A complete Hex Mode line (ASCII).
    virtual void OnRxHexLine(std::string_view text) = 0;
    // The open rest: raw bytes in text mode, the formatted partial line in
    // Hex Mode. Replaces the previously shown open rest.
    virtual void OnRxOpen(std::string_view bytesOrText, bool hex) = 0;
};

class LMLineCutter {
public:
    static constexpr size_t kMaxPendingLine = 65536;
    // Open rests up to this size are re-shown on every chunk.
    static constexpr size_t kOpenEchoAlways = 1024;
    // Hex Mode groups are at most this wide (the widest wrap a console allows).
    static constexpr size_t kMaxHexGroup = 4096;
    static constexpr size_t kDefaultHexGroup = 32;

    LMLineCutter() = default;

    // Appends a received chunk stamped chunkStamp and cuts what it completes.
    // False when the sink ended the connection, or for an Rx termination out
    // of range (last error nerr::kInvalidParameter; the bytes stay pending).
    bool Process(const void* data, size_t size, NTimeStamp chunkStamp, const SLMRxSettings& settings,
                 ILMRxLineSink& sink);

    // Flushes the pending bytes as one forced line. Without force only when a
    // receive time-out is set and at least that long has passed since the
    // first pending byte arrived. In Hex Mode the partial group becomes a
    // complete Hex line (it would otherwise be dropped from the record).
    // False when the sink ended the connection.
    bool Flush(bool force, NTimeStamp now, const SLMRxSettings& settings, ILMRxLineSink& sink);

    // Shows the open rest again when the last showing was skipped for speed.
    void RefreshOpen(const SLMRxSettings& settings, ILMRxLineSink& sink);

    // Forgets the pending bytes and the "Automatic" line-end state (a new connection).
    void Reset();
    // Forgets only the "Automatic" line-end state.
    void ResetLineEndState();

    size_t PendingSize() const { return m_end - m_head; }
    std::string_view Pending() const { return {m_buf.data() + m_head, m_end - m_head}; }
    NTimeStamp PendingSince() const { return m_firstByteTime; }
    size_t BufferCapacity() const { return m_buf.capacity(); }
    // Which terminator ended the previous line (0 none) and whether the
    // second byte of a pair was swallowed after it.
    uint8_t PreviousTerminator() const { return m_prevTerminator; }
    bool PairSwallowed() const { return m_swallowed; }

private:
    void Append(const void* data, size_t size);
    void Consume(size_t count);
    bool CutText(NTimeStamp chunkStamp, const SLMRxSettings& settings, ILMRxLineSink& sink);
    void CutHex(NTimeStamp chunkStamp, const SLMRxSettings& settings, ILMRxLineSink& sink);
    void ShowOpen(const SLMRxSettings& settings, ILMRxLineSink& sink, bool always);
    // Searches [from, limit) of the pending bytes for the rule's terminator;
    // true with its position and length. On false, the position from which a
    // later search of the same rule must resume.
    bool FindTerminator(uint32_t rule, size_t from, size_t limit, size_t& pos, size_t& length) const;
    static size_t HexGroup(const SLMRxSettings& settings);

    std::vector<char> m_buf;  // pending bytes are [m_head, m_end)
    size_t m_head = 0;
    size_t m_end = 0;
    NTimeStamp m_firstByteTime;
    // The pending bytes before m_scanned (relative to m_head) hold no
    // terminator of rule m_scanRule.
    size_t m_scanned = 0;
    uint32_t m_scanRule = 0xFFFFFFFFu;
    // "Automatic": the terminator of the previous line and whether the byte
    // after it was swallowed as the second of a CR LF / LF CR pair.
    uint8_t m_prevTerminator = 0;
    bool m_swallowed = false;
    // Size of the open rest when last shown; stale when a showing was skipped.
    size_t m_openShown = 0;
    bool m_openStale = false;
    std::string m_hexText;  // reused for every Hex line
};
