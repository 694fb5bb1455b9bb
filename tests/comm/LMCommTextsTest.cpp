// Texts the worker builds: request codes, flag names, serial packet reports,
// Hex Mode lines and received text.
#include <gtest/gtest.h>

#include <string>

#include "comm/LMCommFlagNames.h"
#include "comm/LMHexLine.h"
#include "comm/LMRequestCodes.h"
#include "comm/LMRxText.h"
#include "comm/LMSerialReport.h"
#include "comm/LMTermination.h"
#include "foundation/Utf.h"
#include "shades/LMShades.h"

namespace {

TEST(LMRequestCodes, ValuesSpellTheirCharactersFromTheTopByte)
{
    EXPECT_EQ(lmreq::kReset, 0x52535421u);
    EXPECT_EQ(lmreq::kSequence, 0x53455155u);
    EXPECT_EQ(lmreq::kUserCommand, 0x55535243u);
    EXPECT_EQ(lmreq::kUserBreak, 0x55535242u);
    EXPECT_EQ(lmreq::kBaudTest, 0x42525453u);
    EXPECT_EQ(lmreq::kFlood, 0x464c4f44u);
    EXPECT_EQ(lmreq::kPortMode, 0x504d4f44u);
    EXPECT_EQ(lmreq::kSettings, 0x43534554u);
    EXPECT_EQ(LMRequestCodeText(lmreq::kReset), "RST!");
    EXPECT_EQ(LMRequestCodeText(lmreq::kNone), "\\xFF\\xFF\\xFF\\xFF");
    EXPECT_EQ(LMRequestCodeText(0x41000A42u), "A\\x00\\x0AB");
}

TEST(LMTermination, TransmitTerminators)
{
    EXPECT_EQ(LMTxTerminator(lmtx::kCR), "\r");
    EXPECT_EQ(LMTxTerminator(lmtx::kLF), "\n");
    EXPECT_EQ(LMTxTerminator(lmtx::kCRLF), "\r\n");
    EXPECT_EQ(LMTxTerminator(lmtx::kNone), "");
    EXPECT_EQ(LMTxTerminator(4), "");
}

TEST(LMCommFlagNames, NamesInTableOrderAndUnknownBitsAsOneItem)
{
    EXPECT_EQ(LMCommEventNames(0x2C0), L"EV_BREAK EV_ERR EV_PERR");
    EXPECT_EQ(LMCommEventNames(0), L"");
    EXPECT_EQ(LMCommEventNames(0x1001 | 0x6000), L"EV_RXCHAR EV_EVENT2 +0x6000+");
    EXPECT_EQ(LMCommEventNames(0x10000), L"+0x10000+");
    EXPECT_EQ(LMCommErrorNames(0x9F1F),
              L"CE_RXOVER CE_OVERRUN CE_RXPARITY CE_FRAME CE_BREAK CE_TXFULL CE_PTO CE_IOE CE_DNS CE_OOP CE_MODE");
    EXPECT_EQ(LMCommErrorNames(0x20), L"+0x0020+");
    EXPECT_EQ(LMModemLineList(0x30), L"CTS=on  DSR=on  RING=off RLSD=off ");
    EXPECT_EQ(LMModemLineList(0), L"CTS=off DSR=off RING=off RLSD=off ");
}

TEST(LMSerialReport, MessagesOfNonDataPackets)
{
    SLMSerialReport r;
    ASSERT_TRUE(LMDescribeSerialPacket(lmpacket::kEvents, 0x2C5, L"COM3", false, r));
    EXPECT_EQ(r.kind, LMShades::kInfo);
    EXPECT_EQ(r.text, L"Serial port COM3 event(s) 0x02C0 EV_BREAK EV_ERR EV_PERR");
    // Only data events: nothing to say.
    EXPECT_FALSE(LMDescribeSerialPacket(lmpacket::kEvents, 0x7, L"COM3", false, r));

    ASSERT_TRUE(LMDescribeSerialPacket(lmpacket::kModemStatus, 0xB0, L"COM3", false, r));
    EXPECT_EQ(r.kind, LMShades::kInfo);
    EXPECT_EQ(r.text, L"Serial port COM3 modem status 0xB0 CTS=on  DSR=on  RING=off RLSD=on  ");

    ASSERT_TRUE(LMDescribeSerialPacket(lmpacket::kErrors, 0x0A, L"COM12", false, r));
    EXPECT_EQ(r.kind, LMShades::kWarning);
    EXPECT_EQ(r.text, L"Serial port COM12 error 0x000A CE_OVERRUN CE_FRAME");

    ASSERT_TRUE(LMDescribeSerialPacket(999, 0, L"COM3", true, r));
    EXPECT_EQ(r.kind, LMShades::kWarning);
    EXPECT_EQ(r.text, L"Unexpected receiver packet");
}

TEST(LMSerialReport, IgnoreNonDataEventsSilencesEventsModemAndErrors)
{
    SLMSerialReport r;
    EXPECT_FALSE(LMDescribeSerialPacket(lmpacket::kEvents, 0x2C0, L"COM3", true, r));
    EXPECT_FALSE(LMDescribeSerialPacket(lmpacket::kModemStatus, 0x30, L"COM3", true, r));
    EXPECT_FALSE(LMDescribeSerialPacket(lmpacket::kErrors, 0x2, L"COM3", true, r));
    EXPECT_FALSE(LMDescribeSerialPacket(lmpacket::kData, 0, L"COM3", false, r));
    EXPECT_FALSE(LMDescribeSerialPacket(lmpacket::kFailure, 5, L"COM3", false, r));
}

TEST(LMHexLine, FullAndPartialGroups)
{
    std::string out;
    const uint8_t bytes[] = {0x00, 0x1F, 0x20, 0x7E, 0x7F, 0xFF};
    LMFormatHexLine(bytes, 6, 6, out);
    EXPECT_EQ(out, "00 1F 20 7E 7F FF :.. ~..");
    LMFormatHexLine(bytes, 2, 4, out);
    EXPECT_EQ(out, "00 1F       :..");
    LMFormatHexLine(bytes, 0, 2, out);
    EXPECT_EQ(out, "      :");
}

TEST(LMRxText, AsciiPassesUnchanged)
{
    std::string out;
    LMRxBytesToUtf8("=OK 1234567890", out);
    EXPECT_EQ(out, "=OK 1234567890");
    std::wstring wide;
    LMRxBytesToWide("=OK", wide);
    EXPECT_EQ(wide, L"=OK");
}

TEST(LMRxText, ZeroBytesAreDroppedAndTheRestKept)
{
    std::string out;
    LMRxBytesToUtf8(std::string("ab\0cd\0", 6), out);
    EXPECT_EQ(out, "abcd");
    std::wstring wide;
    LMRxBytesToWide(std::string("\0x\xC3\xA4", 4), wide);
    EXPECT_EQ(wide, NUtf8ToWide("x\xC3\xA4"));
}

TEST(LMRxText, IllFormedUtf8IsRepairedAsThePlatformDoes)
{
    const std::string bad = "a\xFF" "b\xE2\x82";
    std::string out;
    LMRxBytesToUtf8(bad, out);
    EXPECT_EQ(out, NWideToUtf8(NUtf8ToWide(bad)));
    EXPECT_NE(out.find("\xEF\xBF\xBD"), std::string::npos);
    // Good UTF-8 survives, in a long line too (the word-at-a-time check).
    const std::string good = std::string(37, 'x') + "\xE2\x82\xAC" + std::string(20, 'y');
    LMRxBytesToUtf8(good, out);
    EXPECT_EQ(out, good);
}

}  // namespace

#include "comm/LMConsoleAddress.h"

namespace {

TEST(LMConsoleAddress, TelnetSerialAndUnknownModes)
{
    const std::wstring mode = L"BAUD=115200 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF";
    EXPECT_EQ(LMConsoleAddress(0, L"board7:2001", L"dev", L"COM3", mode), L"telnet://board7:2001");
    EXPECT_EQ(LMConsoleAddress(2, L"", L"dev", L"COM3", mode), L"serial://COM3/115200-8-N-1-NH");
    EXPECT_EQ(LMConsoleAddress(1, L"", L"USB\\VID_0403", L"COM3", L"BAUD=96 XON=ON"),
              L"serial://USB\\VID_0403/9600-8-N-1-SH");
    // A mode that does not parse is shown as written.
    EXPECT_EQ(LMConsoleAddress(2, L"", L"", L"COM3", L"BAUD=0"), L"serial://COM3/BAUD=0");
    EXPECT_EQ(LMConsoleAddress(7, L"h", L"d", L"COM3", mode), L"*** ERROR ***");
}

}  // namespace

namespace {

TEST(LMRxText, PlainTextTest)
{
    EXPECT_TRUE(LMRxIsPlainText("=OK 0123456789 abcdefghij"));
    EXPECT_TRUE(LMRxIsPlainText(""));
    EXPECT_FALSE(LMRxIsPlainText(std::string("0123456789\0", 11)));
    EXPECT_FALSE(LMRxIsPlainText("0123456789\xC3\xA4"));
    EXPECT_FALSE(LMRxIsPlainText("\x80"));
}

}  // namespace
