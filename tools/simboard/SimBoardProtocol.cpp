#include "tools/simboard/SimBoardProtocol.h"

#include <cctype>
#include <cstdio>

#include "foundation/Crc32.h"

namespace {

constexpr size_t kMaxLine = 65536;  // a runaway line is cut rather than grown without end

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool ParseDecimal(std::string_view text, uint32_t& value)
{
    if (text.empty() || text.size() > 10)
        return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > 0xFFFFFFFFull)
        return false;
    value = static_cast<uint32_t>(v);
    return true;
}

void Write(std::vector<SimBoardProtocol::SAction>& out, std::string text)
{
    if (!out.empty() && out.back().kind == SimBoardProtocol::EAction::kWrite)
        out.back().text += text;
    else
        out.push_back({SimBoardProtocol::EAction::kWrite, std::move(text), 0});
}

const char kHelp[] =
    "*commands: echo TEXT, unsol TEXT, note TEXT, problem TEXT, prompt TEXT, stall TEXT,\r\n"
    "*flood N, delay MS, update, close, reset, help; anything else is acknowledged\r\n";

}  // namespace

std::string SimBoardProtocol::Banner()
{
    return "*Simulated target board ready\r\n";
}

std::string SimBoardProtocol::FloodLine(uint32_t index)
{
    char head[16];
    std::snprintf(head, sizeof(head), "%010u ", index);
    std::string line(head);
    for (uint32_t i = static_cast<uint32_t>(line.size()); i < kFloodLineChars; ++i)
        line += static_cast<char>('A' + (index + i) % 26);
    line += "\r\n";
    return line;
}

std::string SimBoardProtocol::ReplyLine(std::string_view command)
{
    char text[16];
    std::snprintf(text, sizeof(text), "=%X\r\n", static_cast<unsigned>(NCrc32(command.data(), command.size())));
    return text;
}

std::vector<SimBoardProtocol::SAction> SimBoardProtocol::Feed(const char* data, size_t size)
{
    std::vector<SAction> out;
    for (size_t i = 0; i < size && !m_ended; ++i)
        HandleByte(data[i], out);
    return out;
}

void SimBoardProtocol::TrackResetSlot(bool oneBit, std::vector<SAction>& out)
{
    m_resetBits = (m_resetBits << 1) | (oneBit ? 1u : 0u);
    if (m_resetSlots < 32)
        ++m_resetSlots;
    if (m_resetSlots == 32 && m_resetBits == kResetCode) {
        m_resetSlots = 0;
        m_resetBits = 0;
        m_line.clear();
        Write(out, "*reset\r\n" + Banner());
    }
}

void SimBoardProtocol::HandleByte(char c, std::vector<SAction>& out)
{
    if (c == '\n' && m_lastWasCr) {  // the LF of a CR LF
        m_lastWasCr = false;
        return;
    }
    m_lastWasCr = (c == '\r');
    if (c == '\r' || c == '\n') {
        m_lastWasF = false;
        m_resetSlots = 0;
        HandleLine(out);
        return;
    }
    if (c == '\b') {
        TrackResetSlot(m_lastWasF, out);
        m_lastWasF = false;
        if (!m_line.empty())
            m_line.pop_back();
        return;
    }
    if (c == 27) {
        m_lastWasF = false;
        m_resetSlots = 0;
        m_line.clear();
        Write(out, "*break\r\n");
        return;
    }
    if (c != 'f')
        m_resetSlots = 0;
    m_lastWasF = (c == 'f');
    if (m_line.size() < kMaxLine)
        m_line += c;
}

void SimBoardProtocol::HandleLine(std::vector<SAction>& out)
{
    std::string line;
    line.swap(m_line);
    const size_t blank = line.find(' ');
    const std::string word = Lower(line.substr(0, blank));
    const std::string arg = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    const std::string reply = ReplyLine(line);

    if (word == "echo") {
        Write(out, arg + "\r\n" + reply);
    } else if (word == "unsol") {
        Write(out, "_" + arg + "\r\n" + reply);
    } else if (word == "note") {
        Write(out, "*" + arg + "\r\n" + reply);
    } else if (word == "problem") {
        Write(out, "!" + arg + "\r\n" + reply);
    } else if (word == "prompt") {
        Write(out, reply + arg);
    } else if (word == "stall") {
        Write(out, arg);
    } else if (word == "flood") {
        uint32_t n = 0;
        if (!ParseDecimal(arg, n)) {
            Write(out, "!flood needs a line count\r\n" + reply);
            return;
        }
        out.push_back({EAction::kFlood, {}, n});
        Write(out, reply);
    } else if (word == "delay") {
        uint32_t ms = 0;
        if (!ParseDecimal(arg, ms) || ms > kMaxDelayMs) {
            Write(out, "!delay needs 0 to 60000 milliseconds\r\n" + reply);
            return;
        }
        out.push_back({EAction::kDelay, {}, ms});
        Write(out, reply);
    } else if (word == "update") {
        Write(out, "=UPDATE\r\n");
    } else if (word == "close") {
        Write(out, reply);
        out.push_back({EAction::kClose, {}, 0});
        m_ended = true;
    } else if (word == "reset") {
        out.push_back({EAction::kReset, {}, 0});
        m_ended = true;
    } else if (word == "help") {
        Write(out, kHelp + reply);
    } else {
        Write(out, reply);
    }
}
