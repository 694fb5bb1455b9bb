#pragma once
// The console logic of the simulated target board, free of sockets so that it
// can be tested on its own. Bytes from the host go in through Feed; what the
// board does in answer comes out as a list of actions that the server carries
// out in order (write text, write a flood of lines, wait, close, reset).
//
// Command set (the first word is compared without regard to case; a command
// line ends with CR, LF or CR LF):
//   (empty line)        "=0"
//   echo TEXT           TEXT
//   unsol TEXT          "_" TEXT            (an unsolicited line)
//   note TEXT           "*" TEXT            (a note line)
//   problem TEXT        "!" TEXT            (a problem line)
//   prompt TEXT         reply line, then TEXT without line end
//   stall TEXT          TEXT without line end and no reply line at all
//   flood N             N lines of 80 characters each, as fast as the
//                       connection takes them, then the reply line
//   delay MS            waits MS milliseconds (at most 60000), then the reply
//   update              "=UPDATE" instead of the checksum reply
//   close               reply line, then an orderly close of the connection
//   reset               the connection is reset (no reply)
//   help                this list
//   anything else       no output, only the reply line
// Every command but stall, update and reset ends with the reply line "=" and
// the CRC-32 of the command line's bytes in upper-case hexadecimal (no
// leading zeros). Backspace (8) removes the last character of the pending
// line. ESC (27) discards the pending line and prints "*break". The reset
// pattern (32 slots of either "f" BS for a 1 bit or a lone BS for a 0 bit,
// spelling 0x52535421) prints "*reset" and the banner.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class SimBoardProtocol {
public:
    enum class EAction { kWrite, kFlood, kDelay, kClose, kReset };
    struct SAction {
        EAction kind;
        std::string text;    // kWrite
        uint32_t count = 0;  // kFlood: lines; kDelay: milliseconds
    };

    static constexpr uint32_t kFloodLineChars = 80;
    static constexpr uint32_t kMaxDelayMs = 60000;
    static constexpr uint32_t kResetCode = 0x52535421;

    // The greeting written when a connection is accepted.
    static std::string Banner();
    // Line number (from 0) of a flood as 80 characters followed by CR LF.
    static std::string FloodLine(uint32_t index);
    // The reply line for a command, "=" + CRC-32 in hexadecimal + CR LF.
    static std::string ReplyLine(std::string_view command);

    // Handles the bytes and returns the actions they cause, in order. After
    // a close or reset action the rest of the input is ignored.
    std::vector<SAction> Feed(const char* data, size_t size);

private:
    void HandleLine(std::vector<SAction>& out);
    void HandleByte(char c, std::vector<SAction>& out);
    void TrackResetSlot(bool oneBit, std::vector<SAction>& out);

    std::string m_line;
    bool m_lastWasCr = false;
    bool m_ended = false;
    bool m_lastWasF = false;
    uint32_t m_resetBits = 0;
    uint32_t m_resetSlots = 0;
};
