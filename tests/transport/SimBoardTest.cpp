// The simulated board must answer exactly like a target, or the end-to-end
// tests that use it would test the board instead of Lumbra.
#include <gtest/gtest.h>

#include <string>

#include "foundation/Crc32.h"
#include "tools/simboard/SimBoardProtocol.h"

namespace {

using EAction = SimBoardProtocol::EAction;

std::string Written(const std::vector<SimBoardProtocol::SAction>& actions)
{
    std::string out;
    for (const auto& a : actions)
        if (a.kind == EAction::kWrite)
            out += a.text;
    return out;
}

std::string Feed(SimBoardProtocol& p, const std::string& bytes)
{
    return Written(p.Feed(bytes.data(), bytes.size()));
}

std::string Crc(const std::string& command)
{
    char text[16];
    std::snprintf(text, sizeof(text), "=%X\r\n", static_cast<unsigned>(NCrc32(command.data(), command.size())));
    return text;
}

}  // namespace

TEST(SimBoardProtocol, AnswersCommandsWithChecksumOnEveryLineEnd)
{
    SimBoardProtocol p;
    EXPECT_EQ(Feed(p, "\r\n"), "=0\r\n");
    EXPECT_EQ(Feed(p, "\n"), "=0\r\n");
    EXPECT_EQ(Feed(p, "VERSION 1\r"), Crc("VERSION 1"));
    // The LF of a CR LF split across two reads is not a second empty command.
    EXPECT_EQ(Feed(p, "\nFWUPDNFO\n"), Crc("FWUPDNFO"));
    EXPECT_EQ(Feed(p, "echo hello\r\nnote n\rproblem p\nunsol u\r\n"),
              "hello\r\n" + Crc("echo hello") + "*n\r\n" + Crc("note n") + "!p\r\n" + Crc("problem p") + "_u\r\n" +
                  Crc("unsol u"));
    EXPECT_EQ(Feed(p, "ECHO Mixed Case\n"), "Mixed Case\r\n" + Crc("ECHO Mixed Case"));
}

TEST(SimBoardProtocol, PromptStallAndUpdate)
{
    SimBoardProtocol p;
    EXPECT_EQ(Feed(p, "prompt > \n"), Crc("prompt > ") + "> ");
    EXPECT_EQ(Feed(p, "stall waiting"), "");
    EXPECT_EQ(Feed(p, "\n"), "waiting");
    EXPECT_EQ(Feed(p, "update\r\n"), "=UPDATE\r\n");
}

TEST(SimBoardProtocol, FloodDelayCloseAndReset)
{
    SimBoardProtocol p;
    auto actions = p.Feed("flood 3\n", 8);
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].kind, EAction::kFlood);
    EXPECT_EQ(actions[0].count, 3u);
    EXPECT_EQ(actions[1].text, Crc("flood 3"));
    EXPECT_EQ(Feed(p, "flood x\n"), "!flood needs a line count\r\n" + Crc("flood x"));
    EXPECT_EQ(Feed(p, "delay 99999\n").substr(0, 1), "!");
    actions = p.Feed("delay 20\n", 9);
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].kind, EAction::kDelay);
    EXPECT_EQ(actions[0].count, 20u);

    const std::string closing = "close\necho after\n";
    actions = p.Feed(closing.data(), closing.size());
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].text, Crc("close"));
    EXPECT_EQ(actions[1].kind, EAction::kClose);
    EXPECT_TRUE(p.Feed("\n", 1).empty());  // nothing after the close

    SimBoardProtocol r;
    actions = r.Feed("reset\n", 6);
    ASSERT_EQ(actions.size(), 1u);
    EXPECT_EQ(actions[0].kind, EAction::kReset);
}

TEST(SimBoardProtocol, FloodLinesAreEightyCharactersAndNumbered)
{
    for (uint32_t i : {0u, 7u, 123456u, 0xFFFFFFFFu}) {
        const std::string line = SimBoardProtocol::FloodLine(i);
        ASSERT_EQ(line.size(), 82u);
        EXPECT_EQ(line.substr(80), "\r\n");
        EXPECT_EQ(std::stoul(line.substr(0, 10)), i);
    }
}

TEST(SimBoardProtocol, BackspaceBreakAndResetPattern)
{
    SimBoardProtocol p;
    EXPECT_EQ(Feed(p, "echo abx\bc\n"), "abc\r\n" + Crc("echo abc"));
    EXPECT_EQ(Feed(p, "half typed\x1b"), "*break\r\n");
    EXPECT_EQ(Feed(p, "\n"), "=0\r\n");

    std::string pattern;
    for (int bit = 31; bit >= 0; --bit)
        pattern += (SimBoardProtocol::kResetCode >> bit) & 1 ? "f\b" : "\b";
    EXPECT_EQ(Feed(p, pattern), "*reset\r\n" + SimBoardProtocol::Banner());
    // The pattern leaves no pending text behind.
    EXPECT_EQ(Feed(p, "\n"), "=0\r\n");
    // A different pattern is only backspaces.
    EXPECT_EQ(Feed(p, std::string(32, '\b')), "");
}

TEST(SimBoardProtocol, OverlongLineIsCutNotGrown)
{
    SimBoardProtocol p;
    const std::string big(200000, 'x');
    EXPECT_EQ(Feed(p, big), "");
    const std::string reply = Feed(p, "\n");
    EXPECT_EQ(reply, Crc(std::string(65536, 'x')));
}
