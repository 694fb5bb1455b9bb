#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingRxSink.h"
#include "comm/LMLineCutter.h"
#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

namespace {

using Lines = std::vector<std::string>;

SLMRxSettings Settings(uint32_t term, uint32_t wrap = 0, uint32_t timeoutMs = 0, bool procedure = false)
{
    SLMRxSettings s;
    s.rxTerm = term;
    s.rxWrap = wrap;
    s.rxTimeoutMs = timeoutMs;
    s.procedureActive = procedure;
    return s;
}

constexpr NTimeStamp kT0(130000000000000000ull);
NTimeStamp AfterMs(uint64_t ms) { return NTimeStamp(kT0.Ticks() + ms * 10000); }

struct Cutter {
    LMLineCutter cutter;
    RecordingRxSink sink;
    SLMRxSettings settings;

    explicit Cutter(SLMRxSettings s) : settings(s) {}
    bool Feed(std::string_view bytes, NTimeStamp at = kT0)
    {
        return cutter.Process(bytes.data(), bytes.size(), at, settings, sink);
    }
    // One call per byte: the hardest split a transport can produce.
    void FeedBytewise(std::string_view bytes)
    {
        for (char c : bytes)
            ASSERT_TRUE(cutter.Process(&c, 1, kT0, settings, sink));
    }
};

TEST(LMLineCutter, EachTerminationCutsAtItsOwnBytes)
{
    const std::string input = "a\rb\nc\r\nd";
    struct Case {
        uint32_t term;
        Lines lines;
        std::string open;
    } cases[] = {
        {lmrx::kCR, {"a", "b\nc"}, "\nd"},
        {lmrx::kLF, {"a\rb", "c\r"}, "d"},
        {lmrx::kCRLF, {"a\rb\nc"}, "d"},
        {lmrx::kCROrLF, {"a", "b", "c", ""}, "d"},
        {lmrx::kAutomatic, {"a", "b", "c"}, "d"},
    };
    for (const Case& c : cases) {
        Cutter t(Settings(c.term));
        ASSERT_TRUE(t.Feed(input));
        EXPECT_EQ(t.sink.Lines(), c.lines) << "term " << c.term;
        EXPECT_EQ(t.sink.LastOpen(), c.open) << "term " << c.term;
        EXPECT_EQ(t.cutter.Pending(), c.open);
    }
}

TEST(LMLineCutter, AutomaticSwallowsTheSecondByteOfPairsOnly)
{
    Cutter t(Settings(lmrx::kAutomatic));
    ASSERT_TRUE(t.Feed("a\r\nb\n\rc\r"));
    EXPECT_EQ(t.sink.Lines(), (Lines{"a", "b", "c"}));

    Cutter twice(Settings(lmrx::kAutomatic));
    ASSERT_TRUE(twice.Feed("a\r\r"));
    EXPECT_EQ(twice.sink.Lines(), (Lines{"a", ""}));

    // After a swallowed byte the next opposite terminator is a line end again.
    Cutter blank(Settings(lmrx::kAutomatic));
    ASSERT_TRUE(blank.Feed("a\r\n\r\n"));
    EXPECT_EQ(blank.sink.Lines(), (Lines{"a", ""}));
}

TEST(LMLineCutter, AutomaticPairSpansChunks)
{
    Cutter t(Settings(lmrx::kAutomatic));
    ASSERT_TRUE(t.Feed("a\r"));
    ASSERT_TRUE(t.Feed("\nb\r"));
    ASSERT_TRUE(t.Feed("\n"));
    EXPECT_EQ(t.sink.Lines(), (Lines{"a", "b"}));
    EXPECT_EQ(t.cutter.PendingSize(), 0u);

    Cutter bytewise(Settings(lmrx::kAutomatic));
    bytewise.FeedBytewise("a\r\nb\n\rc\r\r\n");
    EXPECT_EQ(bytewise.sink.Lines(), (Lines{"a", "b", "c", ""}));
}

TEST(LMLineCutter, AutomaticStateIsForgottenOnReset)
{
    Cutter t(Settings(lmrx::kAutomatic));
    ASSERT_TRUE(t.Feed("a\r"));
    t.cutter.Reset();
    ASSERT_TRUE(t.Feed("\n"));  // a new connection: this LF ends an empty line
    EXPECT_EQ(t.sink.Lines(), (Lines{"a", ""}));
}

TEST(LMLineCutter, CrLfSplitAcrossChunksAndLoneCrStaysInLine)
{
    Cutter t(Settings(lmrx::kCRLF));
    t.FeedBytewise("ab\rc\r\nxy\r");
    EXPECT_EQ(t.sink.Lines(), (Lines{"ab\rc"}));
    EXPECT_EQ(t.cutter.Pending(), "xy\r");
    ASSERT_TRUE(t.Feed("\n"));
    EXPECT_EQ(t.sink.Lines(), (Lines{"ab\rc", "xy"}));
}

TEST(LMLineCutter, WrapCutsLongLinesAndShowsTheRestOpen)
{
    Cutter t(Settings(lmrx::kCR, 10));
    ASSERT_TRUE(t.Feed(std::string(25, 'x')));
    EXPECT_EQ(t.sink.Lines(), (Lines{std::string(10, 'x'), std::string(10, 'x')}));
    EXPECT_EQ(t.sink.LastOpen(), std::string(5, 'x'));
}

TEST(LMLineCutter, WrapKeepsATerminatorThatEndsAtTheWidth)
{
    Cutter t(Settings(lmrx::kCRLF, 4));
    ASSERT_TRUE(t.Feed("abcd\r\nabcde\r\n"));
    // "abcd" ends exactly at the width; "abcde" is wrapped, "e" then ends normally.
    EXPECT_EQ(t.sink.Lines(), (Lines{"abcd", "abcd", "e"}));
    EXPECT_EQ(t.cutter.PendingSize(), 0u);
}

TEST(LMLineCutter, WrapAcrossManySmallChunks)
{
    Cutter t(Settings(lmrx::kLF, 3));
    t.FeedBytewise("abcdefg\nhi");
    EXPECT_EQ(t.sink.Lines(), (Lines{"abc", "def", "g"}));
    EXPECT_EQ(t.cutter.Pending(), "hi");
}

TEST(LMLineCutter, ProcedureCutsAtCrLfOnlyAndDoesNotWrap)
{
    Cutter t(Settings(lmrx::kCR, 4, 0, true));
    ASSERT_TRUE(t.Feed("=1234abcd\rxy\r\n"));
    EXPECT_EQ(t.sink.Lines(), (Lines{"=1234abcd\rxy"}));
}

TEST(LMLineCutter, PendingStaysBoundedWhileAProcedureRuns)
{
    // A target that never sends CR LF during a procedure.
    Cutter t(Settings(lmrx::kCR, 80, 0, true));
    const std::string chunk(4000, 'z');
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(t.Feed(chunk));
    EXPECT_LE(t.cutter.PendingSize(), LMLineCutter::kMaxPendingLine);
    EXPECT_LE(t.cutter.BufferCapacity(), 2 * LMLineCutter::kMaxPendingLine);
    // The cut pieces are not replies: they go to the procedure as forced lines.
    size_t cut = 0;
    for (const auto& e : t.sink.events) {
        if (e.kind == RecordingRxSink::kForced) {
            EXPECT_EQ(e.text.size(), LMLineCutter::kMaxPendingLine);
            ++cut;
        } else {
            EXPECT_NE(e.kind, RecordingRxSink::kLine);
        }
    }
    EXPECT_EQ(cut, 400000 / LMLineCutter::kMaxPendingLine);
}

TEST(LMLineCutter, PendingStaysBoundedWithoutWrap)
{
    Cutter t(Settings(lmrx::kLF, 0));
    const std::string chunk(70000, 'q');
    ASSERT_TRUE(t.Feed(chunk));
    ASSERT_TRUE(t.Feed(chunk));
    EXPECT_LE(t.cutter.PendingSize(), LMLineCutter::kMaxPendingLine);
    ASSERT_EQ(t.sink.Lines().size(), 2u);
    EXPECT_EQ(t.sink.events[0].kind, RecordingRxSink::kLine);  // like a wrap, not forced

    // A wrap wider than the bound (a hand-edited setting) is held to the bound.
    Cutter wide(Settings(lmrx::kLF, 1000000));
    ASSERT_TRUE(wide.Feed(chunk));
    EXPECT_EQ(wide.sink.Lines().at(0).size(), LMLineCutter::kMaxPendingLine);
}

TEST(LMLineCutter, LongOpenLineInSmallPiecesIsNotReshownQuadratically)
{
    Cutter t(Settings(lmrx::kCRLF, 0, 0, true));
    const size_t total = 60000;
    const std::string piece(10, 'k');
    for (size_t n = 0; n < total; n += piece.size())
        ASSERT_TRUE(t.Feed(piece));
    // Re-showing everything on each of the 6000 chunks would copy 180 MB.
    EXPECT_LT(t.sink.openBytes, 20 * total);
    // Short rests are shown on every chunk, as before.
    size_t shortShows = 0;
    for (const auto& e : t.sink.events)
        shortShows += (e.kind == RecordingRxSink::kOpen && e.text.size() <= LMLineCutter::kOpenEchoAlways);
    EXPECT_EQ(shortShows, LMLineCutter::kOpenEchoAlways / piece.size());
    // A pause brings the shown rest up to date.
    t.cutter.RefreshOpen(t.settings, t.sink);
    EXPECT_EQ(t.sink.LastOpen().size(), total);
    const size_t events = t.sink.events.size();
    t.cutter.RefreshOpen(t.settings, t.sink);  // nothing new: nothing shown
    EXPECT_EQ(t.sink.events.size(), events);
}

TEST(LMLineCutter, TimeoutFlushesAnUnterminatedPromptOnlyWhenDue)
{
    Cutter t(Settings(lmrx::kCRLF, 80, 500));
    ASSERT_TRUE(t.Feed("login: ", kT0));
    ASSERT_TRUE(t.cutter.Flush(false, AfterMs(499), t.settings, t.sink));
    EXPECT_TRUE(t.sink.Lines().empty());
    ASSERT_TRUE(t.cutter.Flush(false, AfterMs(500), t.settings, t.sink));
    ASSERT_EQ(t.sink.events.back(), (RecordingRxSink::SEvent{RecordingRxSink::kForced, "login: "}));
    EXPECT_EQ(t.cutter.PendingSize(), 0u);
}

TEST(LMLineCutter, TimeoutCountsFromTheFirstByteOfTheRest)
{
    Cutter t(Settings(lmrx::kLF, 80, 500));
    ASSERT_TRUE(t.Feed("ab", kT0));
    ASSERT_TRUE(t.Feed("c\nde", AfterMs(400)));  // a line ends: the rest began at 400 ms
    ASSERT_TRUE(t.cutter.Flush(false, AfterMs(600), t.settings, t.sink));
    EXPECT_EQ(t.cutter.Pending(), "de");
    ASSERT_TRUE(t.cutter.Flush(false, AfterMs(900), t.settings, t.sink));
    EXPECT_EQ(t.sink.Lines(), (Lines{"abc", "de"}));
}

TEST(LMLineCutter, NoTimeoutMeansOnlyForcedFlush)
{
    Cutter t(Settings(lmrx::kLF, 80, 0));
    ASSERT_TRUE(t.Feed("prompt>", kT0));
    ASSERT_TRUE(t.cutter.Flush(false, AfterMs(1000000), t.settings, t.sink));
    EXPECT_EQ(t.cutter.Pending(), "prompt>");
    ASSERT_TRUE(t.cutter.Flush(true, kT0, t.settings, t.sink));
    EXPECT_EQ(t.sink.events.back().kind, RecordingRxSink::kForced);
    // Nothing pending: a forced flush does nothing.
    const size_t n = t.sink.events.size();
    ASSERT_TRUE(t.cutter.Flush(true, kT0, t.settings, t.sink));
    EXPECT_EQ(t.sink.events.size(), n);
}

TEST(LMLineCutter, ClockGoingBackRestartsTheTimeout)
{
    Cutter t(Settings(lmrx::kLF, 80, 500));
    ASSERT_TRUE(t.Feed("x", AfterMs(3600000)));
    ASSERT_TRUE(t.cutter.Flush(false, kT0, t.settings, t.sink));  // an hour earlier
    EXPECT_EQ(t.cutter.PendingSize(), 1u);
    ASSERT_TRUE(t.cutter.Flush(false, AfterMs(500), t.settings, t.sink));
    EXPECT_EQ(t.sink.Lines(), (Lines{"x"}));
}

TEST(LMLineCutter, HexModeShowsFullGroupsAndAPaddedOpenRest)
{
    Cutter t(Settings(lmrx::kHexMode, 16));
    ASSERT_TRUE(t.Feed("AB\r"));
    EXPECT_TRUE(t.sink.Lines().empty());
    EXPECT_EQ(t.sink.LastOpen(), "41 42 0D " + std::string(13 * 3, ' ') + ":AB.");
    EXPECT_EQ(t.sink.events.back().kind, RecordingRxSink::kOpenHex);

    ASSERT_TRUE(t.Feed(std::string("0123456789abc\x7f") + "xyz"));
    ASSERT_EQ(t.sink.Lines().size(), 1u);
    EXPECT_EQ(t.sink.Lines()[0],
              "41 42 0D 30 31 32 33 34 35 36 37 38 39 61 62 63 :AB.0123456789abc");
    EXPECT_EQ(t.cutter.Pending(), "\x7fxyz");
}

TEST(LMLineCutter, HexModeIgnoresTerminatorsAndProcedureRule)
{
    Cutter t(Settings(lmrx::kHexMode, 0, 0, true));  // no wrap: 32 per line
    ASSERT_TRUE(t.Feed(std::string(64, '\n')));
    EXPECT_EQ(t.sink.Lines().size(), 2u);
    EXPECT_EQ(t.sink.Lines()[0].size(), 32u * 3 + 1 + 32);
}

TEST(LMLineCutter, HexModeFlushKeepsThePartialGroupAsALine)
{
    Cutter t(Settings(lmrx::kHexMode, 4, 100));
    ASSERT_TRUE(t.Feed("\x01\x02", kT0));
    ASSERT_TRUE(t.cutter.Flush(false, AfterMs(100), t.settings, t.sink));
    ASSERT_EQ(t.sink.Lines(), (Lines{"01 02 " + std::string(2 * 3, ' ') + ":.."}));
    EXPECT_EQ(t.cutter.PendingSize(), 0u);
}

TEST(LMLineCutter, ASinkFailureEndsProcessing)
{
    Cutter t(Settings(lmrx::kLF));
    t.sink.linesUntilFailure = 2;
    EXPECT_FALSE(t.Feed("a\nb\nc\n"));
    EXPECT_EQ(t.sink.Lines(), (Lines{"a", "b"}));

    Cutter f(Settings(lmrx::kLF));
    ASSERT_TRUE(f.Feed("x"));
    f.sink.linesUntilFailure = 1;
    EXPECT_FALSE(f.cutter.Flush(true, kT0, f.settings, f.sink));
}

TEST(LMLineCutter, TerminationOutOfRangeFails)
{
    Cutter t(Settings(6));
    NSetLastError(0);
    EXPECT_FALSE(t.Feed("a\r\n"));
    EXPECT_EQ(NGetLastError(), nerr::kInvalidParameter);
    EXPECT_TRUE(t.sink.events.empty());
}

TEST(LMLineCutter, ChangedRuleIsSearchedAfresh)
{
    // The resumed search must not skip a terminator that the old rule ignored.
    Cutter t(Settings(lmrx::kCR));
    ASSERT_TRUE(t.Feed("ab\ncd"));
    EXPECT_TRUE(t.sink.Lines().empty());
    t.settings.rxTerm = lmrx::kLF;
    ASSERT_TRUE(t.Feed("e"));
    EXPECT_EQ(t.sink.Lines(), (Lines{"ab"}));
    EXPECT_EQ(t.cutter.Pending(), "cde");
}

TEST(LMLineCutter, LinesWithZeroBytesAndEmptyChunks)
{
    Cutter t(Settings(lmrx::kLF));
    ASSERT_TRUE(t.Feed(""));
    EXPECT_TRUE(t.sink.events.empty());
    ASSERT_TRUE(t.Feed(std::string("a\0b\n", 4)));
    EXPECT_EQ(t.sink.Lines(), (Lines{std::string("a\0b", 3)}));
}

}  // namespace
