#include "foundation/TextEncoding.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

// Stand-in for the system code page: Latin-1 maps each byte to the same code point.
std::wstring Latin1(std::string_view bytes)
{
    std::wstring w;
    for (unsigned char c : bytes) w.push_back(static_cast<wchar_t>(c));
    return w;
}

std::string Sample(const char* name)
{
    std::string dir = __FILE__;
    dir = dir.substr(0, dir.rfind("/tests/")) + "/tests/data/encoding/";
    std::ifstream in(dir + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << dir + name;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::wstring W(std::initializer_list<unsigned> units)
{
    std::wstring s;
    for (unsigned u : units) s.push_back(static_cast<wchar_t>(u));
    return s;
}

NTextEncoding Detect(std::string_view bytes) { return NDetectTextEncoding(bytes); }

// "Grüße aus Köln", "café ± 5 °C", "line 3" joined with CR LF.
const std::wstring kSampleText = W({'G', 'r', 0xFC, 0xDF, 'e', ' ', 'a', 'u', 's', ' ', 'K', 0xF6, 'l', 'n', '\r',
                                    '\n', 'c', 'a', 'f', 0xE9, ' ', 0xB1, ' ', '5', ' ', 0xB0, 'C', '\r', '\n', 'l',
                                    'i', 'n', 'e', ' ', '3'});
const std::wstring kBom = W({0xFEFF});

}  // namespace

TEST(TextEncoding, FilesWrittenByOtherToolsAreRecognisedAndDecoded)
{
    struct Case {
        const char* file;
        NTextEncoding encoding;
        std::wstring text;
    } cases[] = {
        {"utf8-nobom.txt", NTextEncoding::Utf8, kSampleText},
        {"utf8-bom.txt", NTextEncoding::Utf8, kBom + kSampleText},
        {"latin1.txt", NTextEncoding::Ansi, kSampleText},
        {"utf16le-nobom.txt", NTextEncoding::Utf16LE, kSampleText},
        {"utf16le-bom.txt", NTextEncoding::Utf16LE, kBom + kSampleText},
        {"utf16be-nobom.txt", NTextEncoding::Utf16BE, kSampleText},
        {"utf16be-bom.txt", NTextEncoding::Utf16BE, kBom + kSampleText},
        {"utf16be-cjk-nobom.txt", NTextEncoding::Utf16BE, W({0x65E5, 0x672C, 0x8A9E, '\r', '\n'})},
        {"utf16le-cjk-nobom.txt", NTextEncoding::Utf16LE, W({0x65E5, 0x672C, 0x8A9E, '\r', '\n'})},
        {"utf16le-bom-cjk-nozero.txt", NTextEncoding::Utf16LE, W({0xFEFF, 0x65E5, 0x672C, 0x8A9E})},
        {"utf16be-bom-cjk-nozero.txt", NTextEncoding::Utf16BE, W({0xFEFF, 0x65E5, 0x672C, 0x8A9E})},
        {"utf16be-ascii.txt", NTextEncoding::Utf16BE, L"AB\r\n"},
        {"ascii7.txt", NTextEncoding::SevenBit, L"ver\r\nreset 1\r\n\r\n  \r\n status \n"},
    };
    for (const Case& c : cases) {
        std::wstring text;
        NTextEncoding found{};
        EXPECT_TRUE(NDecodeText(Sample(c.file), Latin1, text, &found)) << c.file;
        EXPECT_EQ(found, c.encoding) << c.file << ": " << NTextEncodingName(found);
        EXPECT_EQ(text, c.text) << c.file;
    }
}

TEST(TextEncoding, BinaryEmptyAndOddDataAreNotText)
{
    for (const char* file : {"binary.bin", "odd-with-zero.bin"}) {
        std::wstring text = L"old";
        NSetLastError(0);
        EXPECT_FALSE(NDecodeText(Sample(file), Latin1, text)) << file;
        EXPECT_EQ(NGetLastError(), nerr::kInvalidData);
        EXPECT_TRUE(text.empty());
    }
    EXPECT_EQ(Detect(""), NTextEncoding::NotText);
    EXPECT_EQ(Detect(std::string_view("\0", 1)), NTextEncoding::NotText);
}

TEST(TextEncoding, Utf8ShapeFollowsTheLeadByteAndAllowsLongForms)
{
    EXPECT_EQ(Detect("abc"), NTextEncoding::SevenBit);
    EXPECT_EQ(Detect("\x7F"), NTextEncoding::SevenBit);
    EXPECT_EQ(Detect("\xC3\xA9"), NTextEncoding::Utf8);
    // Shape only: overlong and surrogate forms and the old 5- and 6-byte forms count as UTF-8.
    EXPECT_EQ(Detect("\xC0\x80"), NTextEncoding::Utf8);
    EXPECT_EQ(Detect("\xED\xA0\x80"), NTextEncoding::Utf8);
    EXPECT_EQ(Detect("\xF8\x88\x80\x80\x80"), NTextEncoding::Utf8);
    EXPECT_EQ(Detect("\xFC\x84\x80\x80\x80\x80"), NTextEncoding::Utf8);
    // Wrong counts, stray continuations, bytes FE/FF and an open sequence at the end: ANSI.
    EXPECT_EQ(Detect("\xC3"), NTextEncoding::Ansi);
    EXPECT_EQ(Detect("\xC3\xA9\xA9"), NTextEncoding::Ansi);
    EXPECT_EQ(Detect("\xE2\x82" "A"), NTextEncoding::Ansi);
    EXPECT_EQ(Detect("\x80" "abc"), NTextEncoding::Ansi);
    EXPECT_EQ(Detect("a\xFE\xFF"), NTextEncoding::Ansi);
    EXPECT_EQ(Detect("\xFC\x84\x80\x80\x80"), NTextEncoding::Ansi);
    EXPECT_EQ(Detect("ok\xF0\x9F\x98"), NTextEncoding::Ansi);
}

TEST(TextEncoding, Utf16DecisionOrder)
{
    using S = std::string_view;
    // An aligned zero unit in either reading.
    EXPECT_EQ(Detect(S("a\0\0\0", 4)), NTextEncoding::NotText);
    // A BOM in the little-endian reading wins, anywhere in the data...
    EXPECT_EQ(Detect(S("\0a\xFF\xFE", 4)), NTextEncoding::Utf16LE);
    // ...unless the big-endian reading has one too.
    EXPECT_EQ(Detect(S("\xFF\xFE\xFE\xFF\0a", 6)), NTextEncoding::NotText);
    EXPECT_EQ(Detect(S("\xFF\xFE\xFE\xFF", 4)), NTextEncoding::NotText);
    EXPECT_EQ(Detect(S("\xFE\xFF\0a", 4)), NTextEncoding::Utf16BE);
    // More units 1..127.
    EXPECT_EQ(Detect(S("a\0b\0\0c", 6)), NTextEncoding::Utf16LE);
    EXPECT_EQ(Detect(S("\0a\0b\xE9\0", 6)), NTextEncoding::Utf16BE);
    // Then more units 128..255: LE reads 00E9, BE reads E900 (0x2020 is the same both ways).
    EXPECT_EQ(Detect(S("\xE9\0\x20\x20", 4)), NTextEncoding::Utf16LE);
    EXPECT_EQ(Detect(S("\0\xE9\x20\x20", 4)), NTextEncoding::Utf16BE);
    // Then more units 256..4095: LE reads 0F10, BE reads 100F (above 4095).
    EXPECT_EQ(Detect(S("\x10\x0F\x10\x10\0\x20\x20\0", 8)), NTextEncoding::Utf16LE);
    // Then the smaller sum of unit values: LE 0x3412 vs BE 0x1234.
    EXPECT_EQ(Detect(S("\x12\x34\0\x20\x20\0", 6)), NTextEncoding::Utf16BE);
    EXPECT_EQ(Detect(S("\x34\x12\0\x20\x20\0", 6)), NTextEncoding::Utf16LE);
    // A complete tie.
    EXPECT_EQ(Detect(S("\x11\x11\0\x20\x20\0", 6)), NTextEncoding::NotText);
}

TEST(TextEncoding, AnsiAndSevenBitGoThroughTheCodePageConverter)
{
    int calls = 0;
    const NAnsiDecoder counting = [&](std::string_view b) {
        ++calls;
        return Latin1(b);
    };
    std::wstring text;
    ASSERT_TRUE(NDecodeText("plain", counting, text));
    ASSERT_TRUE(NDecodeText("caf\xE9", counting, text));
    EXPECT_EQ(text, W({'c', 'a', 'f', 0xE9}));
    ASSERT_TRUE(NDecodeText("caf\xC3\xA9", counting, text));
    EXPECT_EQ(calls, 2);
    // UTF-8 that detection accepts by shape is repaired by the decoder.
    ASSERT_TRUE(NDecodeText("\xC0\x80", counting, text));
    EXPECT_EQ(text, W({0xFFFD, 0xFFFD}));
}

TEST(TextEncoding, BomWithoutZeroBytesStillMeansUtf16)
{
    using S = std::string_view;
    // Without a zero byte and without a BOM, 16-bit text cannot be told from ANSI.
    EXPECT_EQ(Detect(S("\xE5\x65\x2C\x67", 4)), NTextEncoding::Ansi);
    EXPECT_EQ(Detect(S("\xFF\xFE\xE5\x65", 4)), NTextEncoding::Utf16LE);
    EXPECT_EQ(Detect(S("\xFE\xFF\x65\xE5", 4)), NTextEncoding::Utf16BE);
    EXPECT_EQ(Detect(S("\xFF\xFE\xE5", 3)), NTextEncoding::NotText);
    EXPECT_EQ(Detect(S("\xFF", 1)), NTextEncoding::Ansi);
}

TEST(TextEncoding, Utf16DecodingKeepsSurrogatesAndBom)
{
    std::wstring text;
    ASSERT_TRUE(NDecodeText(std::string_view("\xFF\xFE\x34\xD8\x1E\xDD", 6), Latin1, text));
    EXPECT_EQ(text, W({0xFEFF, 0xD834, 0xDD1E}));
    ASSERT_TRUE(NDecodeText(std::string_view("\xFE\xFF\xD8\x34\xDD\x1E", 6), Latin1, text));
    EXPECT_EQ(text, W({0xFEFF, 0xD834, 0xDD1E}));
}
