// A console window on its own thread, as the main window opens it: the frame
// with its menu, bars and status bar; icon sizes and bar toggles; placements
// saved and restored; the registered messages; the links cleared at the end.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "config/IConsoleLink.h"
#include "config/LMConsConfig.h"
#include "config/LMGlobalPrefs.h"
#include "config/win32/LMRegisteredMessages.h"
#include "console/win32/LMConsFrame.h"
#include "console/win32/LMConsThread.h"
#include "foundation/WindowPlacementText.h"
#include "foundation/win32/Handles.h"

namespace {
constexpr UINT kRunMessage = WM_APP + 0x2A1;  // a thread message: run a task on the console thread
constexpr DWORD kWaitMs = 10000;

// The console thread, with a way in for the test: tasks posted to the
// thread run there, between its messages.
class ProbeThread : public LMConsThread {
public:
    ProbeThread(LMConsConfig* config, HANDLE ready, HANDLE ended, std::atomic<LMConsFrame*>& frame)
        : LMConsThread(config), m_ready(ready), m_ended(ended), m_frame(frame)
    {
    }
    bool InitInstance() override
    {
        const bool ok = LMConsThread::InitInstance();
        m_frame.store(ok ? Frame() : nullptr);
        ::SetEvent(m_ready);
        return ok;
    }
    int ExitInstance() override
    {
        m_frame.store(nullptr);
        const int code = LMConsThread::ExitInstance();
        ::SetEvent(m_ended);
        return code;
    }
    bool PreTranslateMessage(MSG& message) override
    {
        if (message.message == kRunMessage && message.hwnd == nullptr) {
            auto* task = reinterpret_cast<std::function<void()>*>(message.lParam);
            (*task)();
            ::SetEvent(reinterpret_cast<HANDLE>(message.wParam));
            return true;
        }
        return LMConsThread::PreTranslateMessage(message);
    }

private:
    HANDLE m_ready;
    HANDLE m_ended;
    std::atomic<LMConsFrame*>& m_frame;
};

// A worker link whose state the test sets.
struct FakeWorker : ILMCommLink {
    uint8_t state = 0;
    uint8_t ConnectionState() const override { return state; }
};

// Records what a window receives (installed on the console thread).
struct Recorder {
    std::vector<std::pair<UINT, WPARAM>> seen;
    std::vector<LPARAM> params;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                 DWORD_PTR self) noexcept
    {
        auto* me = reinterpret_cast<Recorder*>(self);
        if (message == WM_NCDESTROY)
            ::RemoveWindowSubclass(window, &Recorder::Proc, id);
        else if (message == WM_SIZE || message == WM_COMMAND || message >= 0xC000) {
            me->seen.emplace_back(message, wParam);
            me->params.push_back(lParam);
        }
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    bool Saw(UINT message, WPARAM wParam) const
    {
        for (const auto& s : seen)
            if (s.first == message && s.second == wParam)
                return true;
        return false;
    }
};

class Console {
public:
    explicit Console(LMConsConfig& config) : m_config(config) {}
    ~Console() { Close(); }

    bool Open()
    {
        m_ready.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        m_ended.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        auto* thread = new ProbeThread(&m_config, m_ready.Get(), m_ended.Get(), m_frame);
        if (!thread->CreateThread(true)) {
            delete thread;
            return false;
        }
        m_threadId = thread->ThreadId();
        m_config.SetConsoleThread(thread);
        thread->ResumeThread();
        if (::WaitForSingleObject(m_ready.Get(), kWaitMs) != WAIT_OBJECT_0 || m_frame.load() == nullptr)
            return false;
        m_window = m_frame.load()->Handle();
        Run([] {});  // the posted layout and first messages are done
        return true;
    }

    // Runs task on the console thread and waits for it.
    void Run(std::function<void()> task)
    {
        NHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(::PostThreadMessageW(m_threadId, kRunMessage, reinterpret_cast<WPARAM>(done.Get()),
                                         reinterpret_cast<LPARAM>(&task)));
        ASSERT_EQ(::WaitForSingleObject(done.Get(), kWaitMs), static_cast<DWORD>(WAIT_OBJECT_0));
    }

    // Closes the window as the user does and waits for the thread's end.
    void Close()
    {
        if (m_window == nullptr)
            return;
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
        Wait();
    }
    bool Wait()
    {
        const bool ended = ::WaitForSingleObject(m_ended.Get(), kWaitMs) == WAIT_OBJECT_0;
        // The slot is cleared inside ExitInstance; give the thread its last steps.
        for (int i = 0; i < 1000 && m_config.ConsoleThread() != nullptr; ++i)
            ::Sleep(1);
        m_window = nullptr;
        return ended;
    }

    LMConsFrame& Frame() { return *m_frame.load(); }
    HWND Window() const { return m_window; }
    UINT Message(lmmsg::EMessage message) const { return LMMessage(message); }
    void Post(lmmsg::EMessage message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        ::PostMessageW(m_window, LMMessage(message), wParam, lParam);
        Run([] {});
    }
    void Command(UINT id) { ::SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // The menu states after the menu holding id has been opened.
    UINT MenuState(UINT id)
    {
        HMENU menu = ::GetMenu(m_window);
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            HMENU popup = ::GetSubMenu(menu, i);
            if (::GetMenuState(popup, id, MF_BYCOMMAND) == static_cast<UINT>(-1))
                continue;
            ::SendMessageW(m_window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(i, FALSE));
            return ::GetMenuState(popup, id, MF_BYCOMMAND);
        }
        return static_cast<UINT>(-1);
    }
    bool Visible(IconToolBar& bar)
    {
        bool visible = false;
        Run([&] { visible = Frame().IsBarVisible(bar); });
        return visible;
    }

private:
    LMConsConfig& m_config;
    NHandle m_ready;
    NHandle m_ended;
    std::atomic<LMConsFrame*> m_frame{nullptr};
    DWORD m_threadId = 0;
    HWND m_window = nullptr;
};

struct ConsoleFrameTest : testing::Test {
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        LMGlobalPrefs::Instance().ConsoleToolbarIconSize.store(0);
        NLockGuard guard(config.Lock());
        config.Settings().Name = L"Board A";
        config.Settings().AutoConnect = false;
        config.Settings().Commands = NSTRList{};
        config.Settings().Commands.push_back(L"ver");
        config.Settings().Commands.push_back(L"help");
    }
    void TearDown() override
    {
        LMGlobalPrefs::Instance().ConsoleToolbarIconSize.store(0);
        LMGlobalPrefs::Instance().CmdDropDownWidth.store(320);
    }

    std::wstring Stored(std::wstring LMConsSettings::*field) const { return config.CopyString(field); }
    void Store(std::wstring LMConsSettings::*field, const std::wstring& text)
    {
        NLockGuard guard(config.Lock());
        config.Settings().*field = text;
    }
    static NWindowPlacementText Parsed(const std::wstring& text)
    {
        NWindowPlacementText fields;
        EXPECT_TRUE(fields.Parse(text)) << "text: " << std::string(text.begin(), text.end());
        return fields;
    }
    static RECT Rect(HWND window)
    {
        RECT r{};
        ::GetWindowRect(window, &r);
        return r;
    }

    LMConsConfig config;
};

std::wstring MenuText(HMENU menu, UINT id)
{
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
    return text;
}

std::vector<int> ButtonCommands(HWND bar)
{
    std::vector<int> ids;
    const int count = static_cast<int>(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        ::SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        ids.push_back((button.fsStyle & BTNS_SEP) ? 0 : button.idCommand);
    }
    return ids;
}

TEST_F(ConsoleFrameTest, OpensWithMenuBarsStatusBarAndView)
{
    Console console(config);
    ASSERT_TRUE(console.Open());
    HWND window = console.Window();
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_NE(::GetWindowLongW(window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, 0);

    HMENU menu = ::GetMenu(window);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(::GetMenuItemCount(menu), 6);
    const std::vector<std::pair<UINT, const wchar_t*>> entries = {
        {32780, L"&Connect"}, {32790, L"Alternative Mode"}, {57634, L"&Copy visible log"},
        {32841, L"&Copy whole log"}, {57633, L"&Erase log"}, {32842, L"&Setup..."}, {59392, L"&Toolbar"},
        {59393, L"St&atus Bar"}, {32783, L"C&ommand Bar"}, {32784, L"&Batch Bar"}, {32852, L"&Extra large icons"},
        {32885, L"Command &Window"}, {32786, L"&Follow new entries"}, {32787, L"&Pin to log entries"},
        {32848, L"S&uppress console"}, {32800, L"&Edit"}, {32843, L"&Delete"}, {32846, L"E&xport..."},
        {32847, L"I&mport..."}, {32844, L"&Send"}, {32845, L"&Abort"}, {32801, L"&Reset..."},
        {32802, L"&Baudrate Test"}, {32840, L"Firm&ware Check..."}, {32803, L"&Firmware Update..."},
        {32804, L"Debugging Test"}, {32829, L"&Folder..."}, {32831, L"E&ditor..."}, {32833, L"&Ignore Errors"},
        {32834, L"&Select..."}, {32830, L"&Edit"}, {32832, L"&Run"}, {32792, L"&Enable"}};
    for (const auto& [id, text] : entries)
        EXPECT_EQ(MenuText(menu, id), text) << id;
    for (UINT id = 32849; id <= 32853; ++id)
        EXPECT_FALSE(MenuText(menu, id).empty()) << id;

    HWND rebar = ::GetDlgItem(window, LMConsFrame::kIdReBar);
    ASSERT_NE(rebar, nullptr);
    ASSERT_EQ(::SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0), 3);
    const UINT bandIds[] = {59392, 132, 133};
    for (int i = 0; i < 3; ++i) {
        REBARBANDINFOW band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_CHILD | RBBIM_STYLE;
        ASSERT_TRUE(::SendMessageW(rebar, RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&band)));
        EXPECT_EQ(static_cast<UINT>(::GetDlgCtrlID(band.hwndChild)), bandIds[i]);
        EXPECT_NE(band.fStyle & RBBS_GRIPPERALWAYS, 0u);
        EXPECT_EQ(band.fStyle & RBBS_HIDDEN, 0u);
        // Command and batch bar on rows of their own, so neither is squeezed away.
        EXPECT_EQ((band.fStyle & RBBS_BREAK) != 0, i > 0) << i;
        RECT shown{};
        ::SendMessageW(rebar, RB_GETRECT, i, reinterpret_cast<LPARAM>(&shown));
        EXPECT_GT(shown.right - shown.left, 100) << i;
    }
    LMConsFrame& frame = console.Frame();
    EXPECT_EQ(ButtonCommands(frame.MainBar().Handle()),
              (std::vector<int>{32780, 32790, 32842, 57634, 32841, 57633, 0, 32848, 32786, 32787, 0, 32792, 0, 32801,
                                32840, 32803}));
    EXPECT_EQ(ButtonCommands(frame.CommandBar().Handle()), (std::vector<int>{1020, 0, 1014, 1015, 1016, 1017}));
    EXPECT_EQ(ButtonCommands(frame.BatchBar().Handle()), (std::vector<int>{32829, 32831, 32830, 0, 32832, 32833}));
    HWND combo = ::GetDlgItem(frame.CommandBar().Handle(), 1012);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(::GetWindowLongW(combo, GWL_STYLE) & 3, CBS_DROPDOWN);
    HWND batchCombo = ::GetDlgItem(frame.BatchBar().Handle(), 1013);
    ASSERT_NE(batchCombo, nullptr);
    EXPECT_EQ(::GetWindowLongW(batchCombo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(frame.Commands().Combo(), combo);

    HWND status = ::GetDlgItem(window, 59393);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(::SendMessageW(status, SB_GETPARTS, 0, 0), 4);
    EXPECT_NE(::GetDlgItem(status, 134), nullptr);
    HWND view = ::GetDlgItem(window, 59648);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view, frame.View().Handle());
    // The view fills the space between the bars and the status bar.
    EXPECT_GE(Rect(view).top, Rect(rebar).bottom);
    EXPECT_LE(Rect(view).bottom, Rect(status).top);
    EXPECT_NE(::SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(::SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);

    ::SetWindowTextW(window, L"Board A @ COM1 - Lumbra");
    std::wstring title;
    console.Run([&] { title = console.Frame().Title(); });
    EXPECT_EQ(title, L"Board A @ COM1 - Lumbra");
}

TEST_F(ConsoleFrameTest, IconSizeIsStoredForAllConsolesCheckedAndRebuildsTheBars)
{
    Console console(config);
    ASSERT_TRUE(console.Open());
    LMConsFrame& frame = console.Frame();
    EXPECT_NE(console.MenuState(32853) & MF_CHECKED, 0u);
    HWND oldMain = frame.MainBar().Handle();
    HWND oldCombo = frame.CommandBar().Combo();
    const RECT before = Rect(::GetDlgItem(console.Window(), LMConsFrame::kIdReBar));

    console.Command(32852);
    EXPECT_EQ(LMGlobalPrefs::Instance().ConsoleToolbarIconSize.load(), 48);
    EXPECT_NE(console.MenuState(32852) & MF_CHECKED, 0u);
    for (UINT id : {32849u, 32850u, 32851u, 32853u})
        EXPECT_EQ(console.MenuState(id) & MF_CHECKED, 0u) << id;
    EXPECT_EQ(frame.MainBar().IconSize(), 48);
    EXPECT_EQ(frame.CommandBar().IconSize(), 48);
    EXPECT_EQ(frame.BatchBar().IconSize(), 48);
    EXPECT_FALSE(::IsWindow(oldMain));
    EXPECT_FALSE(::IsWindow(oldCombo));
    // The rebar holds the new bars, taller than before, and the history is
    // still in the new combo, which the command logic now uses.
    HWND rebar = ::GetDlgItem(console.Window(), LMConsFrame::kIdReBar);
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD;
    ::SendMessageW(rebar, RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
    EXPECT_EQ(band.hwndChild, frame.MainBar().Handle());
    band.fMask = RBBIM_STYLE;
    ::SendMessageW(rebar, RB_GETBANDINFOW, 2, reinterpret_cast<LPARAM>(&band));
    EXPECT_NE(band.fStyle & RBBS_BREAK, 0u);
    EXPECT_GT(Rect(rebar).bottom - Rect(rebar).top, before.bottom - before.top);
    EXPECT_EQ(frame.Commands().Combo(), frame.CommandBar().Combo());
    EXPECT_EQ(::SendMessageW(frame.CommandBar().Combo(), CB_GETCOUNT, 0, 0), 2);
    RECT combo = Rect(frame.CommandBar().Combo());
    EXPECT_EQ(combo.right - combo.left, 320 * 48 / 16);

    // A changed drop-down width counts from the next rebuild; nonsense
    // falls back to the default.
    LMGlobalPrefs::Instance().CmdDropDownWidth.store(200);
    console.Command(32849);
    EXPECT_EQ(LMGlobalPrefs::Instance().ConsoleToolbarIconSize.load(), 16);
    EXPECT_EQ(frame.MainBar().IconSize(), 16);
    combo = Rect(frame.CommandBar().Combo());
    EXPECT_EQ(combo.right - combo.left, 200);
    LMGlobalPrefs::Instance().CmdDropDownWidth.store(-7);
    console.Command(32850);
    combo = Rect(frame.CommandBar().Combo());
    EXPECT_EQ(combo.right - combo.left, 320 * 24 / 16);
    LMGlobalPrefs::Instance().CmdDropDownWidth.store(320);
    console.Command(32853);
    EXPECT_EQ(LMGlobalPrefs::Instance().ConsoleToolbarIconSize.load(), 0);
    EXPECT_EQ(frame.MainBar().IconSize(), IconToolBar::kDefaultIconSize);
}

TEST_F(ConsoleFrameTest, BarTogglesHideAndShowTheirBandsAndKeepThatThroughARebuild)
{
    Console console(config);
    ASSERT_TRUE(console.Open());
    LMConsFrame& frame = console.Frame();
    HWND view = frame.View().Handle();
    const LONG viewTop = Rect(view).top;
    EXPECT_NE(console.MenuState(32783) & MF_CHECKED, 0u);
    EXPECT_EQ(console.MenuState(32800) & MF_GRAYED, 0u);

    console.Command(32783);
    EXPECT_FALSE(console.Visible(frame.CommandBar()));
    EXPECT_TRUE(console.Visible(frame.BatchBar()));
    EXPECT_EQ(console.MenuState(32783) & MF_CHECKED, 0u);
    // Editing a command needs the command bar.
    EXPECT_NE(console.MenuState(32800) & MF_GRAYED, 0u);

    console.Command(32784);
    console.Command(59392);
    EXPECT_FALSE(console.Visible(frame.BatchBar()));
    EXPECT_FALSE(console.Visible(frame.MainBar()));
    EXPECT_EQ(console.MenuState(32784) & MF_CHECKED, 0u);
    EXPECT_EQ(console.MenuState(59392) & MF_CHECKED, 0u);
    // The view moved up into the space the bars left.
    console.Run([] {});
    EXPECT_LT(Rect(view).top, viewTop);

    console.Command(32851);  // rebuilt bars stay hidden
    EXPECT_FALSE(console.Visible(frame.CommandBar()));
    EXPECT_FALSE(console.Visible(frame.BatchBar()));
    EXPECT_FALSE(console.Visible(frame.MainBar()));

    console.Command(32783);
    console.Command(32784);
    console.Command(59392);
    EXPECT_TRUE(console.Visible(frame.CommandBar()));
    EXPECT_TRUE(console.Visible(frame.BatchBar()));
    EXPECT_TRUE(console.Visible(frame.MainBar()));
    EXPECT_NE(console.MenuState(32783) & MF_CHECKED, 0u);
    EXPECT_TRUE(::IsWindowVisible(frame.CommandBar().Combo()));
}

TEST_F(ConsoleFrameTest, PlacementsAreSavedOnCloseAndRestoredOnReopen)
{
    {
        Console console(config);
        ASSERT_TRUE(console.Open());
        ::SetWindowPos(console.Window(), nullptr, 120, 90, 700, 420, SWP_NOZORDER);
        console.Command(32784);  // batch bar hidden
        console.Close();
    }
    const NWindowPlacementText frame = Parsed(Stored(&LMConsSettings::ConWndPos));
    EXPECT_EQ(frame.showCmd, static_cast<uint32_t>(SW_SHOWNORMAL));
    EXPECT_EQ(frame.right - frame.left, 700);
    EXPECT_EQ(frame.bottom - frame.top, 420);
    EXPECT_EQ(Parsed(Stored(&LMConsSettings::ConWndTBPos)).showCmd, static_cast<uint32_t>(SW_SHOWNORMAL));
    EXPECT_EQ(Parsed(Stored(&LMConsSettings::ConWndCBPos)).showCmd, static_cast<uint32_t>(SW_SHOWNORMAL));
    EXPECT_EQ(Parsed(Stored(&LMConsSettings::ConWndBBPos)).showCmd, static_cast<uint32_t>(SW_HIDE));
    EXPECT_EQ(config.ConsoleThread(), nullptr);

    Console again(config);
    ASSERT_TRUE(again.Open());
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ASSERT_TRUE(::GetWindowPlacement(again.Window(), &placement));
    EXPECT_EQ(placement.rcNormalPosition.left, frame.left);
    EXPECT_EQ(placement.rcNormalPosition.top, frame.top);
    EXPECT_EQ(placement.rcNormalPosition.right, frame.right);
    EXPECT_EQ(placement.rcNormalPosition.bottom, frame.bottom);
    EXPECT_TRUE(::IsWindowVisible(again.Window()));
    EXPECT_FALSE(again.Visible(again.Frame().BatchBar()));
    EXPECT_TRUE(again.Visible(again.Frame().CommandBar()));
    EXPECT_TRUE(again.Visible(again.Frame().MainBar()));
}

TEST_F(ConsoleFrameTest, ClosedWhileMinimizedKeepsTheEarlierPlacements)
{
    const std::wstring earlier = L"0,1,-1,-1,-1,-1,200,150,840,610";
    const std::wstring bar = L"0,1,-1,-1,-1,-1,0,0,300,30";
    Store(&LMConsSettings::ConWndPos, earlier);
    Store(&LMConsSettings::ConWndTBPos, bar);
    Console console(config);
    ASSERT_TRUE(console.Open());
    RECT opened = Rect(console.Window());
    EXPECT_EQ(opened.right - opened.left, 640);
    console.Post(lmmsg::kMinimize);
    EXPECT_TRUE(::IsIconic(console.Window()));
    console.Close();
    EXPECT_EQ(Stored(&LMConsSettings::ConWndPos), earlier);
    EXPECT_EQ(Stored(&LMConsSettings::ConWndTBPos), bar);
    EXPECT_TRUE(Stored(&LMConsSettings::ConWndCBPos).empty());
    EXPECT_TRUE(Stored(&LMConsSettings::ConWndBBPos).empty());
}

TEST_F(ConsoleFrameTest, WithoutStoredPlacementsTheConsoleOpensAtTheDefaultPlaceWithThreeBars)
{
    Console console(config);
    ASSERT_TRUE(console.Open());
    EXPECT_TRUE(::IsWindowVisible(console.Window()));
    EXPECT_FALSE(::IsIconic(console.Window()));
    EXPECT_GT(Rect(console.Window()).right - Rect(console.Window()).left, 100);
    EXPECT_TRUE(console.Visible(console.Frame().MainBar()));
    EXPECT_TRUE(console.Visible(console.Frame().CommandBar()));
    EXPECT_TRUE(console.Visible(console.Frame().BatchBar()));
    bool pending = true;
    console.Run([&] { pending = console.Frame().FirstPaintPending(); });
    EXPECT_FALSE(pending);
    console.Close();
    // The next opening has all four.
    EXPECT_FALSE(Stored(&LMConsSettings::ConWndPos).empty());
    EXPECT_FALSE(Stored(&LMConsSettings::ConWndTBPos).empty());
    EXPECT_FALSE(Stored(&LMConsSettings::ConWndCBPos).empty());
    EXPECT_FALSE(Stored(&LMConsSettings::ConWndBBPos).empty());
}

TEST_F(ConsoleFrameTest, DamagedOrHostilePlacementTextsAreIgnored)
{
    Store(&LMConsSettings::ConWndPos, L"0,0,-1,-1,-1,-1,10,10,500,400");  // show command "hide"
    Store(&LMConsSettings::ConWndTBPos, L"0,0,1,2,3");                    // five fields
    Store(&LMConsSettings::ConWndCBPos, L"garbage");
    Store(&LMConsSettings::ConWndBBPos, L"0,1,-1,-1,-1,-1,0,0,300,30,7");  // eleven fields
    Console console(config);
    ASSERT_TRUE(console.Open());
    // Restored at its rectangle, but shown, never hidden.
    EXPECT_TRUE(::IsWindowVisible(console.Window()));
    EXPECT_EQ(Rect(console.Window()).right - Rect(console.Window()).left, 490);
    EXPECT_TRUE(console.Visible(console.Frame().MainBar()));
    EXPECT_TRUE(console.Visible(console.Frame().CommandBar()));
    EXPECT_TRUE(console.Visible(console.Frame().BatchBar()));
}

TEST_F(ConsoleFrameTest, BringToFrontMinimizesFirstThenRestoresAndActivates)
{
    Console console(config);
    ASSERT_TRUE(console.Open());
    Recorder recorder;
    console.Run([&] { ::SetWindowSubclass(console.Window(), &Recorder::Proc, 1, reinterpret_cast<DWORD_PTR>(&recorder)); });

    console.Post(lmmsg::kBringToFront);
    std::vector<WPARAM> sizes;
    console.Run([&] {
        for (const auto& s : recorder.seen)
            if (s.first == WM_SIZE)
                sizes.push_back(s.second);
    });
    ASSERT_GE(sizes.size(), 2u);
    EXPECT_EQ(sizes.front(), static_cast<WPARAM>(SIZE_MINIMIZED));
    EXPECT_EQ(sizes.back(), static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_FALSE(::IsIconic(console.Window()));
    EXPECT_TRUE(::IsWindowVisible(console.Window()));

    // From minimized it is only restored.
    console.Post(lmmsg::kMinimize);
    EXPECT_TRUE(::IsIconic(console.Window()));
    console.Run([&] { recorder.seen.clear(); });
    console.Post(lmmsg::kBringToFront);
    EXPECT_FALSE(::IsIconic(console.Window()));
    console.Run([&] {
        EXPECT_FALSE(recorder.Saw(WM_SIZE, SIZE_MINIMIZED));
        EXPECT_TRUE(recorder.Saw(WM_SIZE, SIZE_RESTORED));
        recorder.seen.clear();
    });
}

TEST_F(ConsoleFrameTest, ConsoleMessagesAreForwardedToTheViewWithTheirParameters)
{
    Console console(config);
    ASSERT_TRUE(console.Open());
    Recorder recorder;
    HWND view = console.Frame().View().Handle();
    console.Run([&] { ::SetWindowSubclass(view, &Recorder::Proc, 1, reinterpret_cast<DWORD_PTR>(&recorder)); });
    const lmmsg::EMessage forwarded[] = {lmmsg::kResetBoard, lmmsg::kShutdown, lmmsg::kUpdateSetup,
                                         lmmsg::kUpdateLogging};
    for (lmmsg::EMessage message : forwarded)
        console.Post(message, 7, 9);
    // Window-level and batch messages stay at the frame.
    console.Post(lmmsg::kRecalcLayout);
    console.Post(lmmsg::kOnDirWatch, 1);
    console.Post(lmmsg::kOnDirChange);
    console.Run([&] {
        ASSERT_EQ(recorder.seen.size(), 4u);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(recorder.seen[i].first, LMMessage(forwarded[i]));
            EXPECT_EQ(recorder.seen[i].second, 7u);
            EXPECT_EQ(recorder.params[i], 9);
        }
        ::RemoveWindowSubclass(view, &Recorder::Proc, 1);
    });
}

TEST_F(ConsoleFrameTest, ConnectIconFollowsTheStateAndUnknownStatesShowIdle)
{
    Console console(config);
    ASSERT_TRUE(console.Open());
    // The view's worker starts idle.
    int state = -1;
    console.Run([&] { state = console.Frame().ConnectState(); });
    EXPECT_EQ(state, 0);
    for (int posted : {1, 3, 0, 200}) {
        console.Post(lmmsg::kOnConnect, static_cast<WPARAM>(posted));
        console.Run([&] { state = console.Frame().ConnectState(); });
        EXPECT_EQ(state, posted == 200 ? 0 : posted);
    }
    // The button shows one image per state; each state change picks another.
    console.Post(lmmsg::kOnConnect, 2);
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    ::SendMessageW(console.Frame().MainBar().Handle(), TB_GETBUTTONINFOW, 32780, reinterpret_cast<LPARAM>(&info));
    const int connectedImage = info.iImage;
    console.Post(lmmsg::kOnConnect, 0);
    ::SendMessageW(console.Frame().MainBar().Handle(), TB_GETBUTTONINFOW, 32780, reinterpret_cast<LPARAM>(&info));
    EXPECT_NE(info.iImage, connectedImage);
    console.Close();
    EXPECT_EQ(config.CommThread(), nullptr);
}

TEST_F(ConsoleFrameTest, ExitClearsBothLinksAndAcceleratorsReachTheFrame)
{
    Console console(config);
    ASSERT_TRUE(console.Open());
    FakeWorker worker;
    config.SetCommThread(&worker);
    EXPECT_NE(config.ConsoleThread(), nullptr);
    Recorder recorder;
    console.Run([&] { ::SetWindowSubclass(console.Window(), &Recorder::Proc, 1, reinterpret_cast<DWORD_PTR>(&recorder)); });
    // F2 and Ctrl+Shift+C through the thread's accelerator table.
    ::PostMessageW(console.Window(), WM_KEYDOWN, VK_F2, 0x003C0001);
    console.Run([] {});
    console.Run([&] { EXPECT_TRUE(recorder.Saw(WM_COMMAND, MAKEWPARAM(32800, 1))); });

    console.Close();
    EXPECT_EQ(config.ConsoleThread(), nullptr);
    EXPECT_EQ(config.CommThread(), nullptr);
    // Posting to a console that has gone fails instead of reaching a dead window.
    EXPECT_FALSE(config.PostToConsole(LMMessage(lmmsg::kBringToFront)));
}

TEST_F(ConsoleFrameTest, CommandBarStatesFollowTheHistoryAndItsKeysReachTheFrame)
{
    config.SetCommands(NSTRList{});
    Console console(config);
    ASSERT_TRUE(console.Open());
    LMConsFrame& frame = console.Frame();
    // Nothing to delete; export and import are always there.
    EXPECT_NE(console.MenuState(32843) & MF_GRAYED, 0u);
    EXPECT_EQ(console.MenuState(32846) & MF_GRAYED, 0u);
    EXPECT_EQ(console.MenuState(32847) & MF_GRAYED, 0u);
    bool deleteButton = true, exportButton = false;
    console.Run([&] {
        frame.OnIdleUpdate();
        deleteButton = frame.CommandBar().IsButtonEnabled(1020);
        exportButton = frame.CommandBar().IsButtonEnabled(1017);
    });
    EXPECT_FALSE(deleteButton);
    EXPECT_TRUE(exportButton);

    NSTRList history;
    history.push_back(L"ver");
    history.push_back(L"status");
    config.SetCommands(history);
    console.Run([&] {
        frame.Commands().Fill();
        frame.OnIdleUpdate();
        deleteButton = frame.CommandBar().IsButtonEnabled(1020);
    });
    EXPECT_TRUE(deleteButton);
    EXPECT_EQ(console.MenuState(32843) & MF_GRAYED, 0u);
    // The bar's Delete button takes the combo's text out of the history.
    console.Run([&] { ::SetWindowTextW(frame.CommandBar().Combo(), L"ver"); });
    console.Command(1020);
    const NSTRList left = config.CopyCommands();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(*left.begin(), L"status");

    // F2 puts the keyboard into the command field; Enter released there
    // arrives at the frame as the Send button.
    Recorder recorder;
    console.Run([&] { ::SetWindowSubclass(console.Window(), &Recorder::Proc, 1, reinterpret_cast<DWORD_PTR>(&recorder)); });
    ::PostMessageW(console.Window(), WM_KEYDOWN, VK_F2, 0x003C0001);
    console.Run([] {});
    HWND focus = nullptr;
    console.Run([&] { focus = ::GetFocus(); });
    EXPECT_EQ(focus, frame.CommandBar().Edit());
    console.Run([&] { ::SendMessageW(frame.CommandBar().Edit(), WM_KEYUP, VK_RETURN, 0xC01C0001); });
    console.Run([&] { EXPECT_TRUE(recorder.Saw(WM_COMMAND, MAKEWPARAM(1014, 0))); });
    // With the command bar hidden F2 leaves the focus where it is.
    console.Command(32783);
    console.Run([&] { ::SetFocus(frame.View().Handle()); });
    ::PostMessageW(console.Window(), WM_KEYDOWN, VK_F2, 0x003C0001);
    console.Run([] {});
    console.Run([&] { focus = ::GetFocus(); });
    EXPECT_EQ(focus, frame.View().Handle());
}

std::atomic<int> g_wakeUpChecks{0};
void CountWakeUpCheck() { ++g_wakeUpChecks; }

TEST_F(ConsoleFrameTest, ModalIdleRunsTheWakeUpCheckAndUnbuiltBatchCommandsAreGreyed)
{
    Console console(config);
    ASSERT_TRUE(console.Open());
    LMConsFrame::SetWakeUpCheck(&CountWakeUpCheck);
    g_wakeUpChecks = 0;
    ::SendMessageW(console.Window(), WM_ENTERIDLE, MSGF_MENU, 0);
    EXPECT_EQ(g_wakeUpChecks.load(), 1);
    LMConsFrame::SetWakeUpCheck(nullptr);
    ::SendMessageW(console.Window(), WM_ENTERIDLE, MSGF_DIALOGBOX, 0);
    EXPECT_EQ(g_wakeUpChecks.load(), 1);
    for (UINT id = 32829; id <= 32834; ++id)
        EXPECT_NE(console.MenuState(id) & MF_GRAYED, 0u) << id;
    bool runButton = true;
    console.Run([&] {
        console.Frame().OnIdleUpdate();
        runButton = console.Frame().BatchBar().IsButtonEnabled(32832);
    });
    EXPECT_FALSE(runButton);
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(CommandWindowTemplate, HasItsCaptionListAndButtons)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    HWND dialog = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(137), nullptr, &QuietDialog, 0);
    ASSERT_NE(dialog, nullptr);
    wchar_t text[64] = {};
    ::GetWindowTextW(dialog, text, 64);
    EXPECT_STREQ(text, L"Commands");
    wchar_t className[64] = {};
    ::GetClassNameW(::GetDlgItem(dialog, 1030), className, 64);
    EXPECT_STREQ(className, L"SysListView32");
    const std::pair<int, const wchar_t*> buttons[] = {{1031, L"&Insert"}, {1032, L"&Edit"}, {1033, L"&Remove"},
                                                      {1034, L"&Up"},     {1035, L"D&n"},   {1036, L"&Send"},
                                                      {IDOK, L"OK"},      {IDCANCEL, L"Cancel"}};
    for (const auto& [id, label] : buttons) {
        ::GetDlgItemTextW(dialog, id, text, 64);
        EXPECT_STREQ(text, label) << id;
    }
    ::DestroyWindow(dialog);
}

TEST_F(ConsoleFrameTest, AThreadWithoutConfigurationEndsWithoutAWindow)
{
    std::atomic<LMConsFrame*> frame{nullptr};
    NHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    NHandle ended(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto* thread = new ProbeThread(nullptr, ready.Get(), ended.Get(), frame);
    ASSERT_TRUE(thread->CreateThread(false));
    EXPECT_EQ(::WaitForSingleObject(ended.Get(), kWaitMs), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(frame.load(), nullptr);
}
}  // namespace
