// Our UTF-8 conversions against the platform's own: every ill-formed input must
// be repaired the same way, or text would differ depending on who converted it.
#include "foundation/Utf.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <random>
#include <string>

namespace {

std::wstring PlatformToWide(const std::string& s)
{
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string PlatformToUtf8(const std::wstring& w)
{
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::string Hex(const std::string& s)
{
    static const char* d = "0123456789ABCDEF";
    std::string r;
    for (unsigned char c : s) {
        r += d[c >> 4];
        r += d[c & 15];
        r += ' ';
    }
    return r;
}

void ExpectSameAsPlatform(const std::string& s)
{
    ASSERT_EQ(NUtf8ToWide(s), PlatformToWide(s)) << "bytes: " << Hex(s);
}

}  // namespace

TEST(UtfWin32, EveryOneAndTwoByteInputMatchesPlatform)
{
    for (int a = 0; a < 256; ++a) {
        ExpectSameAsPlatform(std::string(1, static_cast<char>(a)));
        for (int b = 0; b < 256; ++b) {
            std::string s{static_cast<char>(a), static_cast<char>(b)};
            ExpectSameAsPlatform(s);
            if (HasFatalFailure()) return;
        }
    }
}

TEST(UtfWin32, ThreeAndFourByteBoundariesMatchPlatform)
{
    // The bytes where the well-formed ranges change, plus neighbours.
    const unsigned char edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2,
                                   0xDF, 0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF3, 0xF4, 0xF5,
                                   0xF7, 0xF8, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};
    for (unsigned char a : edges)
        for (unsigned char b : edges)
            for (unsigned char c : edges) {
                ExpectSameAsPlatform(std::string{char(a), char(b), char(c)});
                for (unsigned char d : edges)
                    ExpectSameAsPlatform(std::string{char(a), char(b), char(c), char(d)});
                if (HasFatalFailure()) return;
            }
}

TEST(UtfWin32, RandomMixturesMatchPlatform)
{
    std::mt19937 rng(12345);
    const unsigned char pool[] = {'a', 0x80, 0x9F, 0xA0, 0xBF, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF, 0xC0};
    for (int round = 0; round < 20000; ++round) {
        std::string s;
        const int len = 1 + static_cast<int>(rng() % 12);
        for (int i = 0; i < len; ++i) s += static_cast<char>(pool[rng() % sizeof pool]);
        ExpectSameAsPlatform(s);
        if (HasFatalFailure()) return;
    }
}

TEST(UtfWin32, WideToUtf8MatchesPlatformForSurrogateMixes)
{
    const wchar_t units[] = {L'a', 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFD, 0xFFFF};
    for (wchar_t a : units)
        for (wchar_t b : units)
            for (wchar_t c : units) {
                std::wstring w{a, b, c};
                ASSERT_EQ(NWideToUtf8(w), PlatformToUtf8(w));
            }
}

TEST(UtfWin32, RandomWideTextRoundTripsLikePlatform)
{
    std::mt19937 rng(777);
    for (int round = 0; round < 5000; ++round) {
        std::wstring w;
        const int len = static_cast<int>(rng() % 10);
        for (int i = 0; i < len; ++i) w += static_cast<wchar_t>(rng() % 0x10000);
        const std::string ours = NWideToUtf8(w);
        ASSERT_EQ(ours, PlatformToUtf8(w));
        ASSERT_EQ(NUtf8ToWide(ours), PlatformToWide(ours));
    }
}
