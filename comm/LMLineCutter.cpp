#include "comm/LMLineCutter.h"

#include <cstring>

#include "comm/LMHexLine.h"
#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

namespace {

constexpr char kCR = 13;
constexpr char kLF = 10;

const char* FindByte(const char* p, size_t n, char b)
{
    return n == 0 ? nullptr : static_cast<const char*>(std::memchr(p, b, n));
}

}  // namespace

void LMLineCutter::Append(const void* data, size_t size)
{
    if (size == 0)
        return;
    const size_t pending = m_end - m_head;
    if (m_head != 0 && m_end + size > m_buf.size()) {
        // Move the rest (short: at most a line) to the front instead of growing.
        std::memmove(m_buf.data(), m_buf.data() + m_head, pending);
        m_head = 0;
        m_end = pending;
    }
    if (m_end + size > m_buf.size())
        m_buf.resize(m_end + size);
    std::memcpy(m_buf.data() + m_end, data, size);
    m_end += size;
}

void LMLineCutter::Consume(size_t count)
{
    m_head += count;
    if (m_head >= m_end)
        m_head = m_end = 0;
    m_scanned = 0;
    m_openShown = 0;
    m_openStale = false;
}

void LMLineCutter::Reset()
{
    m_head = m_end = 0;
    m_scanned = 0;
    m_scanRule = 0xFFFFFFFFu;
    m_firstByteTime = NTimeStamp();
    m_openShown = 0;
    m_openStale = false;
    ResetLineEndState();
}

void LMLineCutter::ResetLineEndState()
{
    m_prevTerminator = 0;
    m_swallowed = false;
}

size_t LMLineCutter::HexGroup(const SLMRxSettings& settings)
{
    if (settings.rxWrap == 0)
        return kDefaultHexGroup;
    return settings.rxWrap > kMaxHexGroup ? kMaxHexGroup : settings.rxWrap;
}

bool LMLineCutter::FindTerminator(uint32_t rule, size_t from, size_t limit, size_t& pos, size_t& length) const
{
    const char* base = m_buf.data() + m_head;
    if (from >= limit) {
        pos = from;
        return false;
    }
    const char* p = base + from;
    const size_t n = limit - from;
    const char* hit = nullptr;
    switch (rule) {
    case lmrx::kCR:
        hit = FindByte(p, n, kCR);
        length = 1;
        break;
    case lmrx::kLF:
        hit = FindByte(p, n, kLF);
        length = 1;
        break;
    case lmrx::kCRLF: {
        const char* q = p;
        const char* end = p + n;
        length = 2;
        while ((q = FindByte(q, static_cast<size_t>(end - q), kCR)) != nullptr) {
            if (q + 1 >= end) {
                // A CR as the last byte may yet be followed by LF: resume there.
                pos = static_cast<size_t>(q - base);
                return false;
            }
            if (q[1] == kLF) {
                hit = q;
                break;
            }
            ++q;
        }
        break;
    }
    default: {  // CR or LF, Automatic: whichever comes first
        const char* cr = FindByte(p, n, kCR);
        const char* lf = FindByte(p, cr != nullptr ? static_cast<size_t>(cr - p) : n, kLF);
        hit = lf != nullptr ? lf : cr;
        length = 1;
        break;
    }
    }
    if (hit == nullptr) {
        pos = limit;
        return false;
    }
    pos = static_cast<size_t>(hit - base);
    return true;
}

bool LMLineCutter::Process(const void* data, size_t size, NTimeStamp chunkStamp, const SLMRxSettings& settings,
                           ILMRxLineSink& sink)
{
    if (m_end == m_head)
        m_firstByteTime = chunkStamp;
    Append(data, size);
    if (settings.rxTerm == lmrx::kHexMode) {
        CutHex(chunkStamp, settings, sink);
        return true;
    }
    return CutText(chunkStamp, settings, sink);
}

bool LMLineCutter::CutText(NTimeStamp chunkStamp, const SLMRxSettings& settings, ILMRxLineSink& sink)
{
    const uint32_t rule = settings.procedureActive ? lmrx::kCRLF : settings.rxTerm;
    if (rule >= lmrx::kHexMode)
        return NFail(nerr::kInvalidParameter);
    if (rule != m_scanRule) {
        m_scanRule = rule;
        m_scanned = 0;
    }
    const bool wraps = !settings.procedureActive && settings.rxWrap != 0;
    // Longest line: the wrap width, and never more than the pending bound.
    size_t maxLine = kMaxPendingLine;
    if (wraps && settings.rxWrap < maxLine)
        maxLine = settings.rxWrap;
    const size_t reach = maxLine + (rule == lmrx::kCRLF ? 2 : 1);

    for (;;) {
        const size_t pending = m_end - m_head;
        if (pending == 0)
            break;
        const size_t limit = pending < reach ? pending : reach;
        size_t pos = 0;
        size_t length = 0;
        if (FindTerminator(rule, m_scanned, limit, pos, length) && pos <= maxLine) {
            const char term = m_buf[m_head + pos];
            if (rule == lmrx::kAutomatic && pos == 0 && !m_swallowed && m_prevTerminator != 0 &&
                static_cast<uint8_t>(term) != m_prevTerminator) {
                // The second byte of a CR LF or LF CR pair ends no line.
                m_head += 1;
                if (m_head == m_end)
                    m_head = m_end = 0;
                m_swallowed = true;
                continue;
            }
            const bool ok = sink.OnRxLine(std::string_view(m_buf.data() + m_head, pos), false);
            Consume(pos + length);
            m_firstByteTime = chunkStamp;
            m_prevTerminator = static_cast<uint8_t>(term);
            m_swallowed = false;
            if (!ok)
                return false;
            continue;
        }
        m_scanned = pos;
        if (pending > maxLine) {
            // Wrapped (or cut at the bound): no terminator is removed.
            const bool forced = settings.procedureActive;
            const bool ok = sink.OnRxLine(std::string_view(m_buf.data() + m_head, maxLine), forced);
            Consume(maxLine);
            m_firstByteTime = chunkStamp;
            m_prevTerminator = 0;
            m_swallowed = false;
            if (!ok)
                return false;
            continue;
        }
        break;
    }
    if (m_end != m_head)
        ShowOpen(settings, sink, false);
    return true;
}

void LMLineCutter::CutHex(NTimeStamp chunkStamp, const SLMRxSettings& settings, ILMRxLineSink& sink)
{
    const size_t group = HexGroup(settings);
    bool cut = false;
    while (m_end - m_head >= group) {
        LMFormatHexLine(reinterpret_cast<const uint8_t*>(m_buf.data() + m_head), group, group, m_hexText);
        sink.OnRxHexLine(m_hexText);
        Consume(group);
        cut = true;
    }
    if (cut)
        m_firstByteTime = chunkStamp;
    if (m_end != m_head)
        ShowOpen(settings, sink, true);
}

void LMLineCutter::ShowOpen(const SLMRxSettings& settings, ILMRxLineSink& sink, bool always)
{
    const size_t pending = m_end - m_head;
    if (pending == 0)
        return;
    if (!always && pending > kOpenEchoAlways && m_openShown != 0 && pending < m_openShown + m_openShown / 4) {
        m_openStale = pending != m_openShown;
        return;
    }
    if (settings.rxTerm == lmrx::kHexMode) {
        LMFormatHexLine(reinterpret_cast<const uint8_t*>(m_buf.data() + m_head), pending, HexGroup(settings),
                        m_hexText);
        sink.OnRxOpen(m_hexText, true);
    } else {
        sink.OnRxOpen(std::string_view(m_buf.data() + m_head, pending), false);
    }
    m_openShown = pending;
    m_openStale = false;
}

void LMLineCutter::RefreshOpen(const SLMRxSettings& settings, ILMRxLineSink& sink)
{
    if (m_openStale)
        ShowOpen(settings, sink, true);
}

bool LMLineCutter::Flush(bool force, NTimeStamp now, const SLMRxSettings& settings, ILMRxLineSink& sink)
{
    if (m_end == m_head)
        return true;
    if (!force) {
        if (settings.rxTimeoutMs == 0)
            return true;
        if (now < m_firstByteTime) {
            // The local clock went back (a change of zone or daylight time):
            // count the time-out from now rather than wait for the old stamp.
            m_firstByteTime = now;
            return true;
        }
        const uint64_t elapsedMs = (now.Ticks() - m_firstByteTime.Ticks()) / 10000;
        if (elapsedMs < settings.rxTimeoutMs)
            return true;
    }
    bool ok = true;
    if (settings.rxTerm == lmrx::kHexMode) {
        const size_t group = HexGroup(settings);
        while (m_end - m_head >= group) {
            LMFormatHexLine(reinterpret_cast<const uint8_t*>(m_buf.data() + m_head), group, group, m_hexText);
            sink.OnRxHexLine(m_hexText);
            Consume(group);
        }
        if (m_end != m_head) {
            LMFormatHexLine(reinterpret_cast<const uint8_t*>(m_buf.data() + m_head), m_end - m_head, group,
                            m_hexText);
            sink.OnRxHexLine(m_hexText);
        }
    } else {
        ok = sink.OnRxLine(std::string_view(m_buf.data() + m_head, m_end - m_head), true);
    }
    Consume(m_end - m_head);
    return ok;
}
