// The main window's console list on the registry of the test's Wine prefix:
// load order, commands, confirmation boxes, saving, input and painted layout.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/LMConsListCells.h"
#include "app/win32/LMBaseFrame.h"
#include "config/IConsoleLink.h"
#include "config/LMConsConfig.h"
#include "config/LMGlobalPrefs.h"
#include "config/win32/LMConsSetupDlgFont.h"
#include "config/win32/LMRegisteredMessages.h"
#include "config/win32/NRegKey.h"
#include "framework/win32/NIconCache.h"
#include "framework/win32/NMessageBox.h"
#include "resources/LMConsSetupDlgIds.h"
#include "resources/resource.h"

namespace {
constexpr const wchar_t* kBaseSubPath = L"SOFTWARE\\Vexal\\Lumbra\\Base";

// An open console: records what the list posts; its thread "ends" on WM_CLOSE.
struct SFakeConsole : ILMConsoleLink, ILMCommLink {
    LMConsConfig* config = nullptr;
    uint8_t state = 0;
    std::vector<uint32_t> posted;
    std::wstring placementOnClose;  // what a closing console window stores
    bool PostToMainWindow(uint32_t message, uintptr_t, intptr_t) override
    {
        posted.push_back(message);
        if (message == WM_CLOSE && config != nullptr) {
            if (!placementOnClose.empty()) {
                NLockGuard guard(config->Lock());
                config->Settings().ConWndPos = placementOnClose;
            }
            config->SetCommThread(nullptr);
            config->SetConsoleThread(nullptr);
        }
        return true;
    }
    uint8_t ConnectionState() const override { return state; }
    void Attach(LMConsConfig* c, bool connected)
    {
        config = c;
        state = connected ? kConnected : 0;
        c->SetConsoleThread(this);
        c->SetCommThread(this);
    }
};

struct SFindWindow {
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK MatchOwnWindow(HWND w, LPARAM p)
{
    auto* f = reinterpret_cast<SFindWindow*>(p);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    wchar_t text[64] = {};
    ::GetWindowTextW(w, text, 64);
    if (pid == ::GetCurrentProcessId() && std::wstring(text) == f->caption) {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}

// A top-level window of this process with the caption.
HWND OwnWindow(const wchar_t* caption)
{
    SFindWindow find{caption, nullptr};
    ::EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// Fills the real setup dialog from a second thread, as a user would, and
// presses OK (or Cancel when no host is given).
void AnswerSetupDialog(std::wstring name, std::wstring host, bool& answered)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    HWND dialog = nullptr;
    while (dialog == nullptr && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        dialog = OwnWindow(L"Lumbra Console Setup");
    }
    if (dialog == nullptr)
        return;
    ::SendMessageW(::GetDlgItem(dialog, IDC_CS_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::SendMessageW(::GetDlgItem(dialog, IDC_CS_MODE_TCPIP), BM_CLICK, 0, 0);
    ::SendMessageW(::GetDlgItem(dialog, IDC_CS_HOST_PORT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(host.c_str()));
    const HWND ok = ::GetDlgItem(dialog, host.empty() ? IDCANCEL : IDOK);
    answered = ::IsWindowEnabled(ok) != FALSE;
    ::SendMessageW(ok, BM_CLICK, 0, 0);
}

struct SBox {
    std::wstring text, title;
    UINT flags = 0;
};

LMConsSettings Tcp(const std::wstring& name, unsigned listIndex)
{
    LMConsSettings s = LMConsSettings::Defaults();
    s.Name = name;
    s.ConMode = LMConsSettings::kTcpIp;
    s.HostPort = L"127.0.0.1:2323";
    s.ListIndex = listIndex;
    return s;
}

void StoreConsole(const std::wstring& key, const LMConsSettings& settings)
{
    LMConsConfig config(key, settings);
    NRegKey reg;
    ASSERT_TRUE(config.Save(reg));
}

NSTRList SubKeys()
{
    NRegKey base;
    NSTRList names;
    if (base.Open(LMBaseDrawnView::BaseKeyPath(), nreg::kKeyRead))
        base.EnumSubKeys(names);
    return names;
}

DWORD StoredDword(const std::wstring& key, const wchar_t* name)
{
    DWORD value = 0xFFFFFFFF, size = sizeof value;
    const std::wstring path = std::wstring(kBaseSubPath) + L"\\" + key;
    ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

struct LMBaseDrawnViewTest : testing::Test {
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
        ::InitCommonControlsEx(&controls);
        NIconCache::Instance().Bind(::GetModuleHandleW(nullptr));
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kBaseSubPath);
        LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
        prefs.SetString(prefs.BaseListFontCode, L"Tahoma,9");
        m_previousHook = NSetMessageBoxHook([this](HWND, const std::wstring& text, const std::wstring& title, UINT flags) {
            boxes.push_back({text, title, flags});
            return answer;
        });
    }
    void TearDown() override
    {
        frame.reset();
        NSetMessageBoxHook(m_previousHook);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kBaseSubPath);
        LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
        prefs.SetString(prefs.BaseListFontCode, L"");
    }
    void Open()
    {
        frame = std::make_unique<LMBaseFrame>();
        ASSERT_TRUE(frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
        ::SetWindowPos(frame->Handle(), nullptr, 0, 0, 640, 400, SWP_NOZORDER);
        ::ShowWindow(frame->Handle(), SW_SHOW);
        Paint();
    }
    void Close() { frame.reset(); }
    void Paint()
    {
        ::InvalidateRect(View().Handle(), nullptr, FALSE);
        ::UpdateWindow(View().Handle());
    }
    LMBaseDrawnView& View() { return frame->ListView(); }
    LMConsList& List() { return View().List(); }
    void Command(UINT id) { ::SendMessageW(frame->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    bool Enabled(UINT id)
    {
        NCmdUI cmd(id);
        frame->RouteUpdate(cmd);
        return cmd.enabled;
    }
    // Left click in the middle of a data row's first column.
    void Click(size_t row, WPARAM keys = 0)
    {
        const int h = View().Layout().rowHeight;
        const int y = static_cast<int>(row + 1) * h + h / 2;
        ::SendMessageW(View().Handle(), WM_LBUTTONDOWN, keys, MAKELPARAM(4, y));
    }
    std::wstring Order()
    {
        std::wstring names;
        for (size_t i = 0; i < List().Count(); ++i)
            names += List().At(i)->CopyString(&LMConsSettings::Name);
        return names;
    }

    // Declared before the frame so they outlive the configurations.
    SFakeConsole consoles[3];
    std::vector<SBox> boxes;
    int answer = IDOK;
    std::unique_ptr<LMBaseFrame> frame;

private:
    NMessageBoxHook m_previousHook;
};
}  // namespace

TEST_F(LMBaseDrawnViewTest, LoadsByListIndexThenSavesTheNewOrderAndDeletesRemovedKeys)
{
    StoreConsole(L"{a}", Tcp(L"A", 2));
    StoreConsole(L"{b}", Tcp(L"B", 0));
    StoreConsole(L"{c}", Tcp(L"C", 1));
    StoreConsole(L"{d}", Tcp(L"D", 1));  // a second claim on index 1
    LMConsSettings broken = Tcp(L"E", 0xFFFFFFFF);
    broken.ConMode = 7;
    StoreConsole(L"{e}", broken);
    Open();
    ASSERT_TRUE(View().IsCreated());
    EXPECT_EQ(Order(), L"BCADE");
    EXPECT_EQ(LMConsCellOf(*List().At(4), 1, nullptr).text, L"*** ERROR ***");

    Click(1);  // C
    EXPECT_TRUE(List().At(1)->IsSelected());
    EXPECT_EQ(List().Caret(), 1u);
    EXPECT_TRUE(Enabled(ID_CONSOLE_MOVE_UP));
    Command(ID_CONSOLE_MOVE_UP);
    EXPECT_EQ(Order(), L"CBADE");
    EXPECT_EQ(List().Caret(), 0u);
    EXPECT_FALSE(Enabled(ID_CONSOLE_MOVE_UP));

    Click(3);  // D
    Click(4, MK_SHIFT);  // and E
    Command(ID_CONSOLE_REMOVE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"OK to remove 2 entries?");
    EXPECT_EQ(boxes[0].title, L"Please confim multiple entry removal");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(Order(), L"CBA");
    EXPECT_EQ(SubKeys().size(), 5u) << "nothing is written before the list is saved";

    Close();
    NSTRList keys = SubKeys();
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (NSTRList{L"{a}", L"{b}", L"{c}"}));
    EXPECT_EQ(StoredDword(L"{c}", L"ListIndex"), 0u);
    EXPECT_EQ(StoredDword(L"{b}", L"ListIndex"), 1u);
    EXPECT_EQ(StoredDword(L"{a}", L"ListIndex"), 2u);

    Open();
    EXPECT_EQ(Order(), L"CBA");
}

TEST_F(LMBaseDrawnViewTest, AConsoleAddedAfterARemovalKeepsItsPlaceAfterARestart)
{
    // Key names that list after any braced GUID, so a duplicated index would
    // hand the slot to the added console.
    StoreConsole(L"{z-a}", Tcp(L"A", 0));
    StoreConsole(L"{z-b}", Tcp(L"B", 1));
    StoreConsole(L"{z-c}", Tcp(L"C", 2));
    Open();
    Click(0);
    Command(ID_CONSOLE_REMOVE);
    View().SetSetupDialogRunner([](HWND, const LMConsSettings*, const LMConsSetupDlgContext&, LMConsSettings& result) {
        result = Tcp(L"D", 0);
        return true;
    });
    Command(ID_CONSOLE_ADD);
    EXPECT_EQ(Order(), L"BCD");
    Close();
    Open();
    EXPECT_EQ(Order(), L"BCD");
}

TEST_F(LMBaseDrawnViewTest, AddRunsTheSetupDialogAndSavesEveryValueOfTheNewKey)
{
    StoreConsole(L"{x}", Tcp(L"Existing", 0));
    Open();
    LMConsSetupDlgContext seen;
    View().SetSetupDialogRunner([&](HWND, const LMConsSettings* current, const LMConsSetupDlgContext& context,
                                    LMConsSettings& result) {
        EXPECT_EQ(current, nullptr);
        seen = context;
        result = Tcp(L"Added", 77);
        return true;
    });
    Click(0);
    EXPECT_TRUE(Enabled(ID_CONSOLE_ADD));
    Command(ID_CONSOLE_ADD);
    EXPECT_TRUE(seen.isNew);
    EXPECT_TRUE(seen.editable);
    EXPECT_EQ(seen.namesInUse, (std::vector<std::wstring>{L"Existing"}));
    ASSERT_EQ(List().Count(), 2u);
    EXPECT_EQ(Order(), L"ExistingAdded");
    EXPECT_FALSE(List().At(0)->IsSelected());
    EXPECT_TRUE(List().At(1)->IsSelected());
    EXPECT_EQ(List().Caret(), 1u);
    const std::wstring key = List().At(1)->KeyName();
    EXPECT_EQ(key.size(), 38u) << "a braced GUID";

    // Cancel adds nothing.
    View().SetSetupDialogRunner([](HWND, const LMConsSettings*, const LMConsSetupDlgContext&, LMConsSettings&) {
        return false;
    });
    Command(ID_CONSOLE_ADD);
    EXPECT_EQ(List().Count(), 2u);

    Close();
    NRegKey reg;
    ASSERT_TRUE(reg.Open(LMConsConfig::KeyPath(key), nreg::kKeyRead));
    NSTRList values;
    ASSERT_TRUE(reg.EnumValues(values));
    EXPECT_EQ(values.size(), LMConsSettings::kEntryCount);
    EXPECT_EQ(StoredDword(key, L"ListIndex"), 1u);
}

TEST_F(LMBaseDrawnViewTest, AddThroughTheRealSetupDialog)
{
    Open();
    bool answered = false;
    std::thread user(AnswerSetupDialog, L"Typed Board", L"192.168.1.20:23", std::ref(answered));
    Command(ID_CONSOLE_ADD);
    user.join();
    ASSERT_TRUE(answered) << "OK was enabled once name and host were valid";
    ASSERT_EQ(List().Count(), 1u);
    EXPECT_EQ(List().At(0)->CopyString(&LMConsSettings::Name), L"Typed Board");
    EXPECT_EQ(List().At(0)->Settings().ConMode.Get(), static_cast<unsigned>(LMConsSettings::kTcpIp));
    EXPECT_EQ(List().At(0)->CopyString(&LMConsSettings::HostPort), L"192.168.1.20:23");

    std::thread cancel(AnswerSetupDialog, L"Other", L"", std::ref(answered));
    Command(ID_CONSOLE_ADD);
    cancel.join();
    EXPECT_EQ(List().Count(), 1u) << "Cancel adds nothing";
}

TEST_F(LMBaseDrawnViewTest, SetupEditsOneSelectedConsoleAndTellsWhetherItIsOpen)
{
    StoreConsole(L"{a}", Tcp(L"A", 0));
    StoreConsole(L"{b}", Tcp(L"B", 1));
    Open();
    EXPECT_FALSE(Enabled(ID_CONSOLE_SETUP));
    Click(0);
    Click(1, MK_SHIFT);
    EXPECT_FALSE(Enabled(ID_CONSOLE_SETUP)) << "two rows selected";
    Click(1);
    ASSERT_TRUE(Enabled(ID_CONSOLE_SETUP));
    consoles[0].Attach(List().At(1), false);
    LMConsSetupDlgContext seen;
    View().SetSetupDialogRunner([&](HWND, const LMConsSettings* current, const LMConsSetupDlgContext& context,
                                    LMConsSettings& result) {
        seen = context;
        result = *current;
        result.HostPort = L"10.0.0.9:23";
        return true;
    });
    Command(ID_CONSOLE_SETUP);
    EXPECT_FALSE(seen.isNew);
    EXPECT_FALSE(seen.editable) << "the console is open";
    EXPECT_EQ(seen.currentName, L"B");
    EXPECT_EQ(seen.namesInUse, (std::vector<std::wstring>{L"A"}));
    EXPECT_EQ(List().At(1)->CopyString(&LMConsSettings::HostPort), L"10.0.0.9:23");
    EXPECT_EQ(consoles[0].posted, (std::vector<uint32_t>{LMMessage(lmmsg::kUpdateSetup)}));

    // An open console refuses a rename: the user is told, nothing changes.
    View().SetSetupDialogRunner([&](HWND, const LMConsSettings* current, const LMConsSetupDlgContext&,
                                    LMConsSettings& result) {
        result = *current;
        result.Name = L"Renamed";
        return true;
    });
    Command(ID_CONSOLE_SETUP);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].title.find(L"Error"), std::wstring::npos);
    EXPECT_EQ(List().At(1)->CopyString(&LMConsSettings::Name), L"B");
}

TEST_F(LMBaseDrawnViewTest, EnableAndRemoveLeaveOpenConsolesAlone)
{
    StoreConsole(L"{a}", Tcp(L"A", 0));
    LMConsSettings b = Tcp(L"B", 1);
    b.Enabled = false;
    StoreConsole(L"{b}", b);
    StoreConsole(L"{c}", Tcp(L"C", 2));
    Open();
    consoles[0].Attach(List().At(0), false);
    Click(0);
    Click(1, MK_SHIFT);
    // A is enabled but open, B disabled: nothing to change.
    EXPECT_FALSE(Enabled(ID_CONSOLE_ENABLE));
    NCmdUI check(ID_CONSOLE_ENABLE);
    frame->RouteUpdate(check);
    EXPECT_TRUE(check.checked);

    Command(ID_CONSOLE_REMOVE);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"OK to remove entry \"B\"?");
    EXPECT_EQ(boxes[0].title, L"Please confim entry removal");
    EXPECT_EQ(Order(), L"AC");

    answer = IDCANCEL;
    Click(1);
    Command(ID_CONSOLE_REMOVE);
    EXPECT_EQ(Order(), L"AC") << "Cancel keeps the row";
    Command(ID_CONSOLE_ENABLE);
    EXPECT_FALSE(List().At(1)->Settings().Enabled.Get());
    Command(ID_CONSOLE_ENABLE);
    EXPECT_TRUE(List().At(1)->Settings().Enabled.Get());

    Click(0);
    EXPECT_FALSE(Enabled(ID_CONSOLE_REMOVE)) << "only an open console is selected";
}

TEST_F(LMBaseDrawnViewTest, ResetAskedWordForWordAndPostedOnlyOnOk)
{
    StoreConsole(L"{a}", Tcp(L"Alpha", 0));
    StoreConsole(L"{b}", Tcp(L"Beta", 1));
    Open();
    EXPECT_FALSE(Enabled(ID_CONSOLE_RESET_ALL));
    consoles[0].Attach(List().At(0), true);
    consoles[1].Attach(List().At(1), true);
    Click(0);
    ASSERT_TRUE(Enabled(ID_CONSOLE_RESET_SELECTED));
    answer = IDCANCEL;
    Command(ID_CONSOLE_RESET_SELECTED);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"Caution! Ready to reset 1 board:\nAlpha");
    EXPECT_EQ(boxes[0].title, L"Please Confirm Multiple Board Reset");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_TRUE(consoles[0].posted.empty());

    answer = IDOK;
    Command(ID_CONSOLE_RESET_ALL);
    EXPECT_EQ(boxes.back().text, L"Caution! Ready to reset 2 boards:\nAlpha\nBeta");
    EXPECT_EQ(consoles[0].posted, (std::vector<uint32_t>{LMMessage(lmmsg::kResetBoard)}));
    EXPECT_EQ(consoles[1].posted, (std::vector<uint32_t>{LMMessage(lmmsg::kResetBoard)}));
}

TEST_F(LMBaseDrawnViewTest, OpenStartsAConsoleThreadOrBringsAnOpenOneToTheFront)
{
    StoreConsole(L"{a}", Tcp(L"A", 0));
    StoreConsole(L"{b}", Tcp(L"B", 1));
    LMConsSettings bad = Tcp(L"C", 2);
    bad.HostPort = L"";  // no address: cannot be opened
    StoreConsole(L"{c}", bad);
    Open();
    consoles[0].Attach(List().At(1), false);
    EXPECT_TRUE(Enabled(ID_CONSOLE_OPEN_ALL));
    Click(2);
    EXPECT_FALSE(Enabled(ID_CONSOLE_OPEN));
    Command(ID_CONSOLE_OPEN_ALL);
    EXPECT_EQ(consoles[0].posted, (std::vector<uint32_t>{LMMessage(lmmsg::kBringToFront)}));
    EXPECT_EQ(List().At(2)->ConsoleThread(), nullptr);
    EXPECT_NE(List().At(0)->ConsoleThread(), nullptr) << "row A got a console thread";
    EXPECT_TRUE(boxes.empty());

    Command(ID_CONSOLE_MINIMIZE_ALL);
    EXPECT_EQ(consoles[0].posted.back(), LMMessage(lmmsg::kMinimize));
    ASSERT_TRUE(Enabled(ID_CONSOLE_CLOSE_ALL));
    Command(ID_CONSOLE_CLOSE_ALL);
    EXPECT_EQ(consoles[0].posted.back(), static_cast<uint32_t>(WM_CLOSE));
    // Closed at once, even the real console whose window may not exist yet.
    for (size_t i = 0; i < List().Count(); ++i)
        EXPECT_EQ(List().At(i)->ConsoleThread(), nullptr) << i;
    EXPECT_FALSE(Enabled(ID_CONSOLE_CLOSE_ALL));
    EXPECT_FALSE(Enabled(ID_SETUP_RECORDING)) << "no recording dialog yet";
}

TEST_F(LMBaseDrawnViewTest, KeysMoveTheCaretAndEnterOpens)
{
    for (int i = 0; i < 4; ++i)
        StoreConsole(L"{" + std::to_wstring(i) + L"}", Tcp(std::wstring(1, static_cast<wchar_t>(L'A' + i)), i));
    Open();
    const HWND view = View().Handle();
    ::SendMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(List().Caret(), 3u) << "without a caret Down goes to the last row";
    ::SendMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(List().Caret(), 3u);
    ::SendMessageW(view, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(List().Caret(), 0u);
    EXPECT_TRUE(List().At(0)->IsSelected());
    EXPECT_FALSE(List().At(3)->IsSelected());
    ::SendMessageW(view, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(List().Caret(), 0u);
    consoles[0].Attach(List().At(0), false);
    ::SendMessageW(view, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(consoles[0].posted, (std::vector<uint32_t>{LMMessage(lmmsg::kBringToFront)}));
}

TEST_F(LMBaseDrawnViewTest, RightClickShowsTheConsoleMenuPreparedByTheFrame)
{
    StoreConsole(L"{a}", Tcp(L"A", 0));
    Open();
    HMENU shown = nullptr;
    View().SetPopupTracker([&](HMENU menu, POINT) { shown = menu; });
    const int h = View().Layout().rowHeight;
    ::SendMessageW(View().Handle(), WM_RBUTTONDOWN, 0, MAKELPARAM(4, h / 2));
    Pump();
    EXPECT_EQ(shown, nullptr) << "the header is not a row";
    ::SendMessageW(View().Handle(), WM_RBUTTONDOWN, 0, MAKELPARAM(4, h + h / 2));
    Pump();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(::GetMenuItemID(shown, 0), static_cast<UINT>(ID_CONSOLE_OPEN));
    EXPECT_FALSE(List().At(0)->IsSelected()) << "a right click leaves the selection";
    EXPECT_NE(::GetMenuState(shown, ID_CONSOLE_REMOVE, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(::GetMenuState(shown, ID_CONSOLE_ADD, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(LMBaseDrawnViewTest, PaintedRowsAndColumnsMatchTheLayout)
{
    StoreConsole(L"{a}", Tcp(L"First console", 0));
    StoreConsole(L"{b}", Tcp(L"Second", 1));
    Open();
    Click(1);
    ::SetFocus(nullptr);
    Paint();
    const SLMConsListLayout& l = View().Layout();
    HDC dc = ::GetDC(View().Handle());
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(l.rowHeight, std::max(l.iconSize + 2, l.textHeight + 4) + 1);
    const COLORREF grid = ::GetSysColor(COLOR_APPWORKSPACE);
    const COLORREF headerGrid = ::GetSysColor(COLOR_BTNTEXT);
    // Horizontal grid lines at the bottom of the header and of each row.
    EXPECT_EQ(::GetPixel(dc, 1, l.rowHeight - 1), headerGrid);
    EXPECT_EQ(::GetPixel(dc, 1, 2 * l.rowHeight - 1), grid);
    EXPECT_EQ(::GetPixel(dc, 1, 3 * l.rowHeight - 1), grid);
    EXPECT_EQ(::GetPixel(dc, l.totalWidth + 2, 2 * l.rowHeight - 1), ::GetSysColor(COLOR_WINDOW));
    // Vertical grid lines right of each column.
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(::GetPixel(dc, l.columnLeft[c] + l.columnWidth[c], l.rowHeight + 1), grid) << c;
    EXPECT_EQ(l.columnLeft[1], l.columnWidth[0] + 1);
    // Backgrounds: unselected, and selected while the view has no focus.
    const int gap = l.columnWidth[0] - 2;
    EXPECT_EQ(::GetPixel(dc, gap, l.rowHeight + 1), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(::GetPixel(dc, gap, 2 * l.rowHeight + 1), ::GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(::GetPixel(dc, gap, 1), ::GetSysColor(COLOR_BTNFACE));
    ::ReleaseDC(View().Handle(), dc);

    // Name column: the widest cell is the longer name with its icon.
    HDC measure = ::GetDC(View().Handle());
    LOGFONTW lf{};
    LMFontFromCode(L"Tahoma,9", lf);
    NFont font(::CreateFontIndirectW(&lf));
    {
        NSelectObject select(measure, font.Get());
        SIZE size{};
        ::GetTextExtentPoint32W(measure, L"First console", 13, &size);
        EXPECT_EQ(l.columnWidth[0], l.DataCellWidth(size.cx));
    }
    ::ReleaseDC(View().Handle(), measure);

    // With the focus, the caret row is highlighted.
    ::SetFocus(View().Handle());
    Paint();
    dc = ::GetDC(View().Handle());
    EXPECT_EQ(::GetPixel(dc, gap, 2 * l.rowHeight + 1), ::GetSysColor(COLOR_HIGHLIGHT));
    ::ReleaseDC(View().Handle(), dc);
}

TEST_F(LMBaseDrawnViewTest, ListFontFromTheDialogAndBackToTheDefault)
{
    StoreConsole(L"{a}", Tcp(L"A", 0));
    Open();
    const int before = View().Layout().rowHeight;
    View().SetFontChooser([](HWND, LOGFONTW& font) {
        LMFontFromCode(L"Tahoma,28", font);
        return true;
    });
    Command(ID_SETUP_LIST_FONT);
    LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
    EXPECT_EQ(prefs.CopyString(prefs.BaseListFontCode), L"Tahoma,28");
    Paint();
    EXPECT_GT(View().Layout().rowHeight, before);
    EXPECT_GE(View().Layout().iconSize, 32);

    Command(ID_SETUP_DEFAULT_FONT);
    EXPECT_EQ(prefs.CopyString(prefs.BaseListFontCode), L"");
    Paint();
    EXPECT_LT(View().Layout().rowHeight, 40);
}

TEST_F(LMBaseDrawnViewTest, ScrollsByPixelsWithinTheRange)
{
    for (int i = 0; i < 30; ++i)
        StoreConsole(L"{" + std::to_wstring(i) + L"}", Tcp(L"Console " + std::to_wstring(i), i));
    Open();
    const HWND view = View().Handle();
    SCROLLINFO info{sizeof info, SIF_ALL};
    ASSERT_TRUE(::GetScrollInfo(view, SB_VERT, &info));
    EXPECT_EQ(info.nMax + 1, View().Layout().VerticalRange(30));
    ::SendMessageW(view, WM_VSCROLL, SB_LINEDOWN, 0);
    Paint();
    EXPECT_EQ(View().ScrollPosition().y, 1);
    ::SendMessageW(view, WM_VSCROLL, SB_BOTTOM, 0);
    Paint();
    RECT client{};
    ::GetClientRect(view, &client);
    EXPECT_EQ(View().ScrollPosition().y, View().Layout().VerticalRange(30) - client.bottom);
    ::SendMessageW(view, WM_VSCROLL, SB_PAGEDOWN, 0);
    Paint();
    EXPECT_EQ(View().ScrollPosition().y, View().Layout().VerticalRange(30) - client.bottom);
    ::SendMessageW(view, WM_VSCROLL, SB_TOP, 0);
    Paint();
    EXPECT_EQ(View().ScrollPosition().y, 0);

    const int h = View().Layout().rowHeight;
    ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(View().ScrollPosition().y, 3 * h) << "three rows per notch";
    ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA / 2)), 0);
    EXPECT_EQ(View().ScrollPosition().y, 3 * h) << "half a notch waits for the other half";
    ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA / 2)), 0);
    EXPECT_EQ(View().ScrollPosition().y, 0);
    ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA * 5)), 0);
    EXPECT_EQ(View().ScrollPosition().y, 0) << "clamped at the top";
}

TEST_F(LMBaseDrawnViewTest, AnEmptyRegistryGivesAnEmptyListAndADeviceChangeRepaints)
{
    Open();
    EXPECT_EQ(List().Count(), 0u);
    EXPECT_TRUE(Enabled(ID_CONSOLE_ADD));
    EXPECT_FALSE(Enabled(ID_CONSOLE_OPEN_ALL));
    EXPECT_FALSE(Enabled(ID_CONSOLE_REMOVE));
    ::SendMessageW(frame->Handle(), WM_DEVICECHANGE, 0x0007, 0);
    Pump();
    Close();
    EXPECT_TRUE(SubKeys().empty());
}

TEST_F(LMBaseDrawnViewTest, PlacementsOfConsolesOpenAtExitReachTheRegistry)
{
    StoreConsole(L"{a}", Tcp(L"A", 0));
    Open();
    consoles[0].placementOnClose = L"0,1,-1,-1,-1,-1,10,20,300,200";
    consoles[0].Attach(List().At(0), true);
    Close();
    EXPECT_EQ(consoles[0].posted.back(), static_cast<uint32_t>(WM_CLOSE));
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    const std::wstring path = std::wstring(kBaseSubPath) + L"\\{a}";
    ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), L"ConWndPos", RRF_RT_REG_SZ, nullptr, text, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(text, L"0,1,-1,-1,-1,-1,10,20,300,200");
}
