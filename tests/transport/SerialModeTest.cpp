#include "transport/SerialMode.h"

#include <gtest/gtest.h>

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

namespace {

const wchar_t* const kConsoleDefault =
    L"BAUD=115200 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF";

TEST(SerialModeParse, PortPrefixAndAbbreviatedBaud)
{
    NSerialDcb dcb;
    NSerialModePort port;
    ASSERT_TRUE(NParseSerialMode(L"COM3: BAUD=96 DATA=7 PARITY=even", dcb, &port));
    EXPECT_TRUE(port.named);
    EXPECT_EQ(port.number, 3u);
    EXPECT_EQ(port.name, L"COM3");
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, NSerialDcb::kEvenParity);
    EXPECT_EQ(dcb.fParity, 1);

    NSerialModePort none;
    NSerialDcb d2;
    d2.BaudRate = 1;
    ASSERT_TRUE(NParseSerialMode(L"BAUD=96", d2, &none));
    EXPECT_FALSE(none.named);
    EXPECT_EQ(d2.BaudRate, 9600u);
}

TEST(SerialModeParse, PortNameKeepsDigitsAsWrittenAndRefusesZero)
{
    NSerialDcb dcb;
    NSerialModePort port;
    ASSERT_TRUE(NParseSerialMode(L"  com012 baud=576\r\n", dcb, &port));
    EXPECT_EQ(port.name, L"COM012");
    EXPECT_EQ(port.number, 12u);
    EXPECT_EQ(dcb.BaudRate, 57600u);
    EXPECT_FALSE(NParseSerialMode(L"COM0 BAUD=96", dcb, &port));
    EXPECT_FALSE(NParseSerialMode(L"COM99999999999 BAUD=96", dcb, &port));
    EXPECT_TRUE(NParseSerialMode(L"COM4", dcb, &port));
    EXPECT_EQ(port.number, 4u);
}

TEST(SerialModeParse, DevicePrefixOnlyWhenAllowed)
{
    NSerialDcb dcb;
    NSerialModePort port;
    EXPECT_FALSE(NParseSerialMode(L"\\\\.\\COM5 BAUD=96", dcb, &port));
    ASSERT_TRUE(NParseSerialMode(L"\\\\.\\COM5 BAUD=96", dcb, &port, NSerialModePrefix::kComOrDevice));
    EXPECT_EQ(port.name, L"COM5");
    EXPECT_FALSE(NParseSerialMode(L"\\\\.\\COM BAUD=96", dcb, &port, NSerialModePrefix::kComOrDevice));
    EXPECT_FALSE(NParseSerialMode(L"\\\\.\\LPT1", dcb, &port, NSerialModePrefix::kComOrDevice));
}

TEST(SerialModeParse, PositionalForm)
{
    NSerialDcb dcb;
    EXPECT_TRUE(NParseSerialMode(L"9600,N,8,1", dcb));
    ASSERT_TRUE(NParseSerialMode(L"19200, E, 7, 2, X", dcb));
    EXPECT_EQ(dcb.BaudRate, 19200u);
    EXPECT_EQ(dcb.Parity, NSerialDcb::kEvenParity);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.StopBits, NSerialDcb::kTwoStopBits);
    EXPECT_EQ(dcb.fOutX, 1);
    EXPECT_EQ(dcb.fRtsControl, NSerialDcb::kRtsEnable);
    EXPECT_FALSE(NParseSerialMode(L"9600,N,8", dcb));
    EXPECT_FALSE(NParseSerialMode(L"9600,N,8,1,X,1", dcb));
    EXPECT_FALSE(NParseSerialMode(L"9600,N,8,1,", dcb));
    EXPECT_FALSE(NParseSerialMode(L"9600,N,8,1,Q", dcb));
    EXPECT_FALSE(NParseSerialMode(L"9600,N,8,1 BAUD=96", dcb));
}

TEST(SerialModeParse, ValuesOutsideTheTableInvalidateTheWholeString)
{
    const NSerialDcb before;
    for (const wchar_t* bad : {L"DATA=9", L"DATA=4", L"BAUD=0", L"BAUD=", L"BAUD=4294967296", L"BAUD=+5",
                               L"STOP=3", L"STOP=1,5", L"PARITY=X", L"XON=YES", L"DTR=TG", L"RTS=X",
                               L"SPEED=9600", L"BAUD", L"BAUD=96 =", L"IDSR=", L"BAUD=9600 DATA=9",
                               L"BAUD=96\x00e9"}) {
        NSerialDcb dcb = before;
        NSetLastError(0);
        EXPECT_FALSE(NParseSerialMode(bad, dcb)) << bad;
        EXPECT_EQ(NGetLastError(), nerr::kInvalidParameter);
        EXPECT_EQ(dcb, before) << "a refused string must not change the block";
    }
    NSerialDcb dcb;
    EXPECT_TRUE(NParseSerialMode(L"BAUD=4294967295", dcb));
    EXPECT_EQ(dcb.BaudRate, 4294967295u);
}

TEST(SerialModeParse, StopBitsAndCaseAndEmpty)
{
    NSerialDcb a, b;
    ASSERT_TRUE(NParseSerialMode(L"STOP=15", a));
    ASSERT_TRUE(NParseSerialMode(L"stop=1.5", b));
    EXPECT_EQ(a.StopBits, NSerialDcb::kOne5StopBits);
    EXPECT_EQ(a, b);
    NSerialDcb c;
    ASSERT_TRUE(NParseSerialMode(L"", c));
    ASSERT_TRUE(NParseSerialMode(L" \t ", c));
    EXPECT_EQ(c, NSerialDcb::Default());
}

TEST(SerialModeParse, KeysNotNamedKeepTheirValues)
{
    NSerialDcb dcb;
    dcb.XonChar = 5;
    dcb.fDsrSensitivity = 1;
    ASSERT_TRUE(NParseSerialMode(L"BAUD=300 DATA=5", dcb));
    EXPECT_EQ(dcb.BaudRate, 300u);
    EXPECT_EQ(dcb.XonChar, 5);
    EXPECT_EQ(dcb.fDsrSensitivity, 1);
    ASSERT_TRUE(NParseSerialMode(L"BAUD=9600 BAUD=19200", dcb));
    EXPECT_EQ(dcb.BaudRate, 19200u);
}

TEST(SerialModeParse, FlowLetters)
{
    NSerialDcb dcb;
    dcb.fDsrSensitivity = 1;
    ASSERT_TRUE(NParseSerialMode(L"FLOW=Hardware", dcb));
    EXPECT_EQ(dcb.fOutxCtsFlow, 1);
    EXPECT_EQ(dcb.fRtsControl, NSerialDcb::kRtsHandshake);
    EXPECT_EQ(dcb.fDsrSensitivity, 0);
    dcb.fDsrSensitivity = 1;
    ASSERT_TRUE(NParseSerialMode(L"FLOW=P", dcb));
    EXPECT_EQ(dcb.fOutxDsrFlow, 1);
    EXPECT_EQ(dcb.fDtrControl, NSerialDcb::kDtrHandshake);
    EXPECT_EQ(dcb.fDsrSensitivity, 1) << "P leaves DSR sensitivity alone";
    ASSERT_TRUE(NParseSerialMode(L"FLOW=S", dcb));
    EXPECT_EQ(dcb.fOutX, 1);
    EXPECT_EQ(dcb.fInX, 1);
    EXPECT_EQ(dcb.fRtsControl, NSerialDcb::kRtsDisable);
    EXPECT_EQ(dcb.fDsrSensitivity, 0);
    ASSERT_TRUE(NParseSerialMode(L"FLOW=N", dcb));
    EXPECT_EQ(dcb.fOutX, 0);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0);
    EXPECT_EQ(dcb.fDtrControl, NSerialDcb::kDtrEnable);
}

TEST(SerialModeParse, EveryFlowLetterSetsTheWholeHandshake)
{
    struct SCase {
        const wchar_t* text;
        uint8_t xon, cts, dsr, dtr, dsrSensitivity, rts;
    } cases[] = {
        {L"FLOW=H", 0, 1, 0, NSerialDcb::kDtrEnable, 0, NSerialDcb::kRtsHandshake},
        {L"FLOW=N", 0, 0, 0, NSerialDcb::kDtrEnable, 0, NSerialDcb::kRtsDisable},
        {L"FLOW=P", 0, 1, 1, NSerialDcb::kDtrHandshake, 1, NSerialDcb::kRtsHandshake},
        {L"FLOW=S", 1, 0, 0, NSerialDcb::kDtrEnable, 0, NSerialDcb::kRtsDisable},
        {L"FLOW=X", 1, 0, 0, NSerialDcb::kDtrEnable, 1, NSerialDcb::kRtsEnable},
    };
    for (const SCase& c : cases) {
        // Start from the opposite of every expectation, DSR sensitivity on.
        NSerialDcb dcb;
        dcb.fOutX = dcb.fInX = !c.xon;
        dcb.fOutxCtsFlow = !c.cts;
        dcb.fOutxDsrFlow = !c.dsr;
        dcb.fDtrControl = NSerialDcb::kDtrDisable;
        dcb.fRtsControl = NSerialDcb::kRtsToggle;
        dcb.fDsrSensitivity = 1;
        ASSERT_TRUE(NParseSerialMode(c.text, dcb)) << c.text;
        EXPECT_EQ(dcb.fOutX, c.xon) << c.text;
        EXPECT_EQ(dcb.fInX, c.xon) << c.text;
        EXPECT_EQ(dcb.fOutxCtsFlow, c.cts) << c.text;
        EXPECT_EQ(dcb.fOutxDsrFlow, c.dsr) << c.text;
        EXPECT_EQ(dcb.fDtrControl, c.dtr) << c.text;
        EXPECT_EQ(dcb.fDsrSensitivity, c.dsrSensitivity) << c.text;
        EXPECT_EQ(dcb.fRtsControl, c.rts) << c.text;
    }
    NSerialDcb dcb;
    EXPECT_FALSE(NParseSerialMode(L"FLOW=Q", dcb));
    EXPECT_FALSE(NParseSerialMode(L"FLOW=", dcb));
}

TEST(SerialModeForms, EverySwitchValueReadsBackFromItsCanonicalForm)
{
    for (const wchar_t* text :
         {L"DTR=OFF", L"DTR=ON", L"DTR=HS", L"RTS=OFF", L"RTS=ON", L"RTS=HS", L"RTS=TG", L"XON=ON", L"XON=OFF",
          L"ODSR=ON", L"ODSR=OFF", L"OCTS=ON", L"OCTS=OFF", L"IDSR=ON", L"IDSR=OFF", L"STOP=1", L"STOP=15",
          L"STOP=2", L"PARITY=O", L"PARITY=E", L"PARITY=M", L"PARITY=S"}) {
        NSerialDcb dcb;
        ASSERT_TRUE(NParseSerialMode(text, dcb)) << text;
        const std::wstring canonical = NSerialModeCanonical(dcb);
        NSerialDcb back;
        back.fOutX = back.fInX = 1;  // every switch differs from the parsed block somewhere
        back.fOutxCtsFlow = !dcb.fOutxCtsFlow;
        ASSERT_TRUE(NParseSerialMode(canonical, back)) << canonical;
        EXPECT_EQ(NSerialModeCanonical(back), canonical) << text;
        EXPECT_EQ(back.fDtrControl, dcb.fDtrControl) << text;
        EXPECT_EQ(back.fRtsControl, dcb.fRtsControl) << text;
        EXPECT_EQ(back.StopBits, dcb.StopBits) << text;
        EXPECT_EQ(back.Parity, dcb.Parity) << text;
        EXPECT_EQ(back.fOutX, dcb.fOutX) << text;
        EXPECT_EQ(back.fDsrSensitivity, dcb.fDsrSensitivity) << text;
    }
    NSerialDcb dcb;
    ASSERT_TRUE(NParseSerialMode(L"XON=ON DTR=HS RTS=TG STOP=15", dcb));
    EXPECT_EQ(NSerialModeCanonical(dcb), L"BAUD=9600 PARITY=N DATA=8 STOP=1.5 XON=ON ODSR=OFF OCTS=ON DTR=HS RTS=TG IDSR=OFF");
}

TEST(SerialModeForms, CanonicalOfTheConsoleDefaultReadsBackUnchanged)
{
    NSerialDcb dcb = NSerialDcb::Default();
    ASSERT_TRUE(NParseSerialMode(kConsoleDefault, dcb));
    EXPECT_EQ(NSerialModeCanonical(dcb), kConsoleDefault);
    EXPECT_EQ(NNormalizeSerialMode(L"com1: 115200,n,8,1,n"), kConsoleDefault);
    EXPECT_EQ(NNormalizeSerialMode(L"BAUD=0"), L"");
}

TEST(SerialModeForms, CanonicalLeavesOutWhatCannotBeReadBack)
{
    NSerialDcb dcb;
    dcb.StopBits = 7;
    dcb.fDtrControl = 3;
    dcb.ByteSize = 9;
    dcb.fParity = 1;
    dcb.Parity = 9;
    dcb.BaudRate = 96;  // would read back as 9600
    const std::wstring text = NSerialModeCanonical(dcb);
    EXPECT_EQ(text, L"XON=OFF ODSR=OFF OCTS=ON RTS=HS IDSR=OFF");
    EXPECT_TRUE(NIsValidSerialMode(text));
}

TEST(SerialModeForms, ShortForm)
{
    std::wstring s;
    ASSERT_TRUE(NSerialModeShort(kConsoleDefault, s));
    EXPECT_EQ(s, L"115200-8-N-1-NH");
    ASSERT_TRUE(NSerialModeShort(L"", s));
    EXPECT_EQ(s, L"9600-8-N-1-HH") << "the default block has RTS handshake";
    ASSERT_TRUE(NSerialModeShort(L"BAUD=12 PARITY=M STOP=1.5 XON=ON", s));
    EXPECT_EQ(s, L"1200-8-M-1.5-SH");
    EXPECT_FALSE(NSerialModeShort(L"DATA=9", s));
    EXPECT_EQ(s, L"");
    NSerialDcb odd;
    odd.fParity = 1;
    odd.Parity = 5;
    odd.StopBits = 3;
    odd.fRtsControl = 0;
    EXPECT_EQ(NSerialModeShort(odd), L"9600-8-?-?-NH");
}

TEST(SerialModeForms, CopyToARecordWithTheDcbMembers)
{
    struct SBitDcb {  // the platform's layout
        uint32_t DCBlength;
        uint32_t BaudRate;
        uint32_t fBinary : 1, fParity : 1, fOutxCtsFlow : 1, fOutxDsrFlow : 1, fDtrControl : 2, fDsrSensitivity : 1,
            fTXContinueOnXoff : 1, fOutX : 1, fInX : 1, fErrorChar : 1, fNull : 1, fRtsControl : 2, fAbortOnError : 1,
            fDummy2 : 17;
        uint16_t wReserved, XonLim, XoffLim;
        uint8_t ByteSize, Parity, StopBits;
        char XonChar, XoffChar, ErrorChar, EofChar, EvtChar;
        uint16_t wReserved1;
    };
    static_assert(sizeof(SBitDcb) == 28);
    NSerialDcb dcb;
    ASSERT_TRUE(NParseSerialMode(L"BAUD=57600 PARITY=O RTS=TG DTR=HS", dcb));
    SBitDcb win{};
    NCopyDcb(dcb, win);
    EXPECT_EQ(win.DCBlength, 28u);
    EXPECT_EQ(win.fRtsControl, 3u);
    EXPECT_EQ(win.fDtrControl, 2u);
    EXPECT_EQ(win.XonChar, 17);
    NSerialDcb back;
    back.BaudRate = 0;
    NCopyDcb(win, back);
    EXPECT_EQ(back, dcb);
}

}  // namespace
