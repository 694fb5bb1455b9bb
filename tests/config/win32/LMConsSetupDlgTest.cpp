#include "config/win32/LMConsSetupDlg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "config/win32/LMConsSetupDlgSettings.h"
#include "resources/LMConsSetupDlgIds.h"

namespace {

// Runs the real dialog modally and plays a script from a timer once it is up,
// as a user would: texts typed into the edits, buttons clicked.
class ScriptedDlg : public LMConsConfigDlg {
public:
    using Script = std::function<void(ScriptedDlg&)>;
    ScriptedDlg(const LMConsSetupDlgRecord& record, LMConsSetupDlgContext context, Script script)
        : LMConsConfigDlg(record, std::move(context), nullptr), m_script(std::move(script))
    {
    }

    void Type(int id, const wchar_t* text) { ::SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    void Click(int id) { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void SelectItem(int id, const wchar_t* text)
    {
        ::SendMessageW(Item(id), CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(text));
        ::SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    std::wstring Text(int id) const
    {
        wchar_t buffer[1024] = {};
        ::GetWindowTextW(Item(id), buffer, 1024);
        return buffer;
    }
    std::wstring Selected(int id) const
    {
        wchar_t buffer[256] = {};
        const LRESULT index = ::SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
        if (index != CB_ERR)
            ::SendMessageW(Item(id), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool Visible(int id) const { return (::GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool OkEnabled() const { return Enabled(IDOK); }
    std::wstring Errors() const { return Visible(IDC_CS_ERRORS) ? Text(IDC_CS_ERRORS) : L""; }
    void Press(int id) { ::SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }

protected:
    bool OnInitDialog() override
    {
        const bool result = LMConsConfigDlg::OnInitDialog();
        ::SetTimer(Handle(), 1, 10, nullptr);
        return result;
    }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override
    {
        if (message != WM_TIMER || wParam != 1)
            return false;
        ::KillTimer(Handle(), 1);
        m_script(*this);
        // A script that did not close the dialog cancels it.
        if (Handle() != nullptr && ::IsWindowVisible(Handle()))
            ::EndDialog(Handle(), IDCANCEL);
        return true;
    }

private:
    Script m_script;
};

LMConsSetupDlgContext Ports()
{
    LMConsSetupDlgContext context;
    context.ports = {{L"COM1", L"FTDI\\A1", L"USB\\VID_0403&PID_6001\\A1"},
                     {L"COM3", L"FTDI\\B2", L"USB\\VID_0403&PID_6001\\B2"}};
    context.namesInUse = {L"Board A", L"Board B"};
    return context;
}

LMConsSetupDlgRecord Named(const wchar_t* name)
{
    LMConsSetupDlgRecord record;
    record.Name = name;
    return record;
}

INT_PTR RunDialog(const LMConsSetupDlgRecord& record, LMConsSetupDlgContext context, ScriptedDlg::Script script,
            LMConsSetupDlgRecord* out = nullptr)
{
    ScriptedDlg dialog(record, std::move(context), std::move(script));
    const INT_PTR result = dialog.DoModal();
    if (out != nullptr)
        *out = dialog.Record();
    return result;
}

TEST(LMConsSetupDlg, ListsEveryProblemAndEnablesOkOnlyWhenAllAreMended)
{
    LMConsSetupDlgRecord out;
    const INT_PTR result = RunDialog(Named(L"Board C"), Ports(), [](ScriptedDlg& d) {
        EXPECT_TRUE(d.OkEnabled());
        EXPECT_FALSE(d.Visible(IDC_CS_ERRORS));
        d.Click(IDC_CS_MODE_TCPIP);
        d.Type(IDC_CS_NAME, L"");
        d.Type(IDC_CS_HOST_PORT, L"host:0");
        EXPECT_EQ(d.Errors(), L"Name cannot be empty\r\nInvalid port value");
        EXPECT_FALSE(d.OkEnabled());
        d.Type(IDC_CS_NAME, L"  Board D ");
        EXPECT_EQ(d.Errors(), L"Invalid port value");
        d.Type(IDC_CS_HOST_PORT, L"192.168.1.10:23");
        EXPECT_EQ(d.Errors(), L"");
        EXPECT_FALSE(d.Visible(IDC_CS_ERRORS));
        EXPECT_TRUE(d.OkEnabled());
        d.Click(IDOK);
    }, &out);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(out.Name, L"Board D");
    EXPECT_EQ(out.ConMode, 0u);
    EXPECT_EQ(out.HostPort, L"192.168.1.10:23");
}

TEST(LMConsSetupDlg, ChecksWrapTimeoutDepthAndNames)
{
    LMConsSetupDlgRecord out;
    RunDialog(Named(L"Board A"), [] {
        auto c = Ports();
        c.isNew = false;
        c.currentName = L"Board A";
        return c;
    }(), [](ScriptedDlg& d) {
        // Its own name, in another case, is not "in use"; another console's is.
        d.Type(IDC_CS_NAME, L"board a");
        EXPECT_EQ(d.Errors(), L"");
        d.Type(IDC_CS_NAME, L"BOARD B");
        EXPECT_EQ(d.Errors(), L"Name already in use");
        d.Type(IDC_CS_NAME, L"Com 3");
        EXPECT_EQ(d.Errors(), L"Name is reserved");
        d.Type(IDC_CS_NAME, L"Comet");
        for (const wchar_t* bad : {L"0", L"5000", L"x"}) {
            d.Type(IDC_CS_RX_WRAP, bad);
            EXPECT_EQ(d.Errors(), L"Invalid Rx line wrap") << bad;
            EXPECT_FALSE(d.OkEnabled());
        }
        d.Type(IDC_CS_RX_WRAP, L"0x1000");
        d.Type(IDC_CS_RX_TIMEOUT, L"4294967296");
        d.Type(IDC_CS_LOG_DEPTH, L"0");
        EXPECT_EQ(d.Errors(), L"Invalid Rx timeout\r\nInvalid log depth");
        d.Type(IDC_CS_RX_TIMEOUT, L"0b101");
        d.Type(IDC_CS_LOG_DEPTH, L"2147483647");
        EXPECT_TRUE(d.OkEnabled());
        d.Click(IDOK);
    }, &out);
    EXPECT_EQ(out.Name, L"Comet");
    EXPECT_EQ(out.RxWrap, 4096u);
    EXPECT_EQ(out.RxTO, 5u);
    EXPECT_EQ(out.LogDepth, 2147483647u);
}

TEST(LMConsSetupDlg, MissingPortIsMarkedAndChoosingOneCopiesItsDevice)
{
    LMConsSetupDlgRecord record = Named(L"Board C");
    record.COMPort = L"COM9";
    LMConsSetupDlgRecord out;
    RunDialog(record, Ports(), [](ScriptedDlg& d) {
        EXPECT_EQ(d.Selected(IDC_CS_COM_PORT), L"*COM9");
        EXPECT_EQ(d.Errors(), L"Invalid COM port");
        EXPECT_FALSE(d.Enabled(IDC_CS_SERMODE_SETUP));
        d.SelectItem(IDC_CS_COM_PORT, L"COM3");
        EXPECT_EQ(d.Errors(), L"");
        EXPECT_EQ(d.Selected(IDC_CS_DEV_ADDR), L"FTDI\\B2");
        EXPECT_TRUE(d.Enabled(IDC_CS_SERMODE_SETUP));
        EXPECT_FALSE(d.Enabled(IDC_CS_DEV_ADDR));
        // Device serial: the COM port follows the device.
        d.Click(IDC_CS_MODE_DEVICE);
        EXPECT_TRUE(d.Enabled(IDC_CS_DEV_ADDR));
        EXPECT_FALSE(d.Enabled(IDC_CS_COM_PORT));
        d.SelectItem(IDC_CS_DEV_ADDR, L"FTDI\\A1");
        EXPECT_EQ(d.Selected(IDC_CS_COM_PORT), L"COM1");
        d.Click(IDOK);
    }, &out);
    EXPECT_EQ(out.ConMode, 1u);
    EXPECT_EQ(out.DevAddr, L"FTDI\\A1");
    EXPECT_EQ(out.COMPort, L"COM1");
}

TEST(LMConsSetupDlg, AGoneDeviceIsReportedWithEveryOtherProblem)
{
    LMConsSetupDlgRecord record = Named(L"Board C");
    record.ConMode = 1;
    record.DevAddr = L"FTDI\\ZZ";
    RunDialog(record, Ports(), [](ScriptedDlg& d) {
        EXPECT_EQ(d.Selected(IDC_CS_DEV_ADDR), L"*FTDI\\ZZ");
        EXPECT_EQ(d.Errors(), L"Invalid serial device");
        d.Type(IDC_CS_NAME, L" ");
        d.Type(IDC_CS_RX_WRAP, L"0");
        EXPECT_EQ(d.Errors(), L"Name cannot be empty\r\nInvalid Rx line wrap\r\nInvalid serial device");
        EXPECT_FALSE(d.OkEnabled());
        d.SelectItem(IDC_CS_DEV_ADDR, L"FTDI\\B2");
        EXPECT_EQ(d.Selected(IDC_CS_COM_PORT), L"COM3");
        EXPECT_EQ(d.Errors(), L"Name cannot be empty\r\nInvalid Rx line wrap");
    });
}

TEST(LMConsSetupDlg, APortWithoutADeviceClearsTheDeviceAddress)
{
    LMConsSetupDlgRecord record = Named(L"Board C");
    record.COMPort = L"COM1";
    record.DevAddr = L"FTDI\\A1";
    LMConsSetupDlgContext context = Ports();
    context.ports.push_back({L"COM7", L"", L""});
    LMConsSetupDlgRecord out;
    RunDialog(record, context, [](ScriptedDlg& d) {
        d.SelectItem(IDC_CS_COM_PORT, L"COM7");
        EXPECT_EQ(d.Errors(), L"");
        d.Click(IDOK);
    }, &out);
    EXPECT_EQ(out.COMPort, L"COM7");
    EXPECT_EQ(out.DevAddr, L"");
}

TEST(LMConsSetupDlg, SerialModeSectionFollowsTheConnectionAndSwaps)
{
    LMConsSetupDlgRecord out;
    RunDialog(Named(L"Board C"), Ports(), [](ScriptedDlg& d) {
        const std::wstring base = d.Text(IDC_CS_SERMODE);
        const std::wstring alt = d.Text(IDC_CS_ALTMODE);
        EXPECT_NE(base.find(L"BAUD=115200"), std::wstring::npos);
        EXPECT_NE(alt.find(L"BAUD=9600"), std::wstring::npos);
        EXPECT_TRUE(d.Enabled(IDC_CS_SWAP));
        d.Click(IDC_CS_SWAP);
        EXPECT_EQ(d.Text(IDC_CS_SERMODE), alt);
        EXPECT_EQ(d.Text(IDC_CS_ALTMODE), base);
        d.Click(IDC_CS_SWAP);
        EXPECT_EQ(d.Text(IDC_CS_SERMODE), base);
        d.Click(IDC_CS_SWAP);
        d.Click(IDC_CS_MODE_TCPIP);
        for (int id : {IDC_CS_SERMODE, IDC_CS_ALTMODE, IDC_CS_SERMODE_SETUP, IDC_CS_ALTMODE_SETUP, IDC_CS_SWAP,
                       IDC_CS_COM_PORT, IDC_CS_DEV_ADDR})
            EXPECT_FALSE(d.Enabled(id)) << id;
        EXPECT_TRUE(d.Enabled(IDC_CS_HOST_PORT));
        // A press that reaches a disabled Swap changes nothing.
        d.SwapModes();
        EXPECT_EQ(d.Text(IDC_CS_SERMODE), alt);
        d.Click(IDC_CS_MODE_COM);
        EXPECT_TRUE(d.Enabled(IDC_CS_SWAP));
        d.Click(IDOK);
    }, &out);
    EXPECT_NE(out.SerMode.find(L"BAUD=9600"), std::wstring::npos);
    EXPECT_NE(out.AltMode.find(L"BAUD=115200"), std::wstring::npos);
    EXPECT_EQ(out.ConMode, 2u);
}

TEST(LMConsSetupDlg, ShiftSetupOffersTheRateAndKeepsTheRest)
{
    auto context = Ports();
    std::wstring askedTitle;
    uint32_t offered = 0;
    context.askBaudRate = [&](void*, const std::wstring& title, uint32_t& rate) {
        askedTitle = title;
        offered = rate;
        rate = 9600;
        return true;
    };
    LMConsSetupDlgRecord record = Named(L"Board C");
    record.COMPort = L"COM3";
    record.SerMode = L"BAUD=115200 PARITY=E DATA=7 STOP=2 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF";
    LMConsSetupDlgRecord out;
    RunDialog(record, context, [](ScriptedDlg& d) {
        d.SetupMode(false, true);
        EXPECT_EQ(d.Text(IDC_CS_SERMODE),
                  L"BAUD=9600 PARITY=E DATA=7 STOP=2 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF");
        d.Click(IDOK);
    }, &out);
    EXPECT_EQ(askedTitle, L"COM3 custom baud rate");
    EXPECT_EQ(offered, 115200u);
    EXPECT_EQ(out.SerMode, L"BAUD=9600 PARITY=E DATA=7 STOP=2 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF");
}

TEST(LMConsSetupDlg, OpenConsoleKeepsItsIdentityButNotItsPresentation)
{
    auto context = Ports();
    context.editable = false;
    context.isNew = false;
    context.currentName = L"Board A";
    RunDialog(Named(L"Board A"), context, [](ScriptedDlg& d) {
        EXPECT_TRUE(d.OkEnabled());
        for (int id : {IDC_CS_NAME, IDC_CS_ENABLED, IDC_CS_MODE_TCPIP, IDC_CS_MODE_COM, IDC_CS_MODE_DEVICE,
                       IDC_CS_HOST_PORT, IDC_CS_COM_PORT, IDC_CS_DEV_ADDR, IDC_CS_AUTO_CONNECT, IDC_CS_IGNORE_NDE,
                       IDC_CS_SERMODE_SETUP, IDC_CS_ALTMODE_SETUP, IDC_CS_SWAP, IDC_CS_SHADES})
            EXPECT_FALSE(d.Enabled(id)) << id;
        for (int id : {IDC_CS_RX_TERM, IDC_CS_TX_TERM, IDC_CS_RX_WRAP, IDC_CS_RX_TIMEOUT, IDC_CS_LOGGING,
                       IDC_CS_FONT_CHANGE, IDC_CS_LOG_DEPTH})
            EXPECT_TRUE(d.Enabled(id)) << id;
        EXPECT_EQ(d.Text(IDC_CS_FONT_GROUP), L"Console Font = Consolas,10");
    });
}

void CALLBACK CancelSetupDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND dialog = ::FindWindowW(nullptr, L"Lumbra Console Setup")) {
        ::SetDlgItemTextW(dialog, IDC_CS_NAME, L"Changed");
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

TEST(LMConsSetupDlg, CancelLeavesTheCallersRecordAlone)
{
    LMConsSetupDlgRecord record = Named(L"Board C");
    // The run function gives no way to script, so a thread timer cancels it.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CancelSetupDialog);
    EXPECT_FALSE(LMRunConsSetupDlg(nullptr, record, Ports()));
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(record, Named(L"Board C"));
}

// Plays the user of the custom baud rate box: checks what it offers, types a
// rate it refuses and then one it takes.
std::wstring g_offeredRate;
bool g_refusedTooSmall = false;
void CALLBACK AnswerBaudRateBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = ::FindWindowW(nullptr, L"COM3 custom baud rate");
    if (box == nullptr)
        return;
    ::KillTimer(nullptr, timer);
    wchar_t text[64] = {};
    ::GetDlgItemTextW(box, 1101, text, 64);
    g_offeredRate = text;
    ::SetDlgItemTextW(box, 1101, L"49");
    // The box checks on a message it posts to itself: let it arrive.
    MSG msg;
    while (::PeekMessageW(&msg, box, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
    g_refusedTooSmall = !::IsWindowEnabled(::GetDlgItem(box, IDOK));
    ::SetDlgItemTextW(box, 1101, L"57600");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST(LMConsSetupDlg, ShiftSetupAsksThroughTheInputBox)
{
    LMConsSetupDlgRecord record = Named(L"Board C");
    record.COMPort = L"COM3";
    LMConsSetupDlgRecord out;
    RunDialog(record, Ports(), [](ScriptedDlg& d) {
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &AnswerBaudRateBox);
        d.SetupMode(true, true);
        ::KillTimer(nullptr, timer);
        d.Click(IDOK);
    }, &out);
    EXPECT_EQ(g_offeredRate, L"9600");
    EXPECT_TRUE(g_refusedTooSmall);
    EXPECT_EQ(out.AltMode, L"BAUD=57600 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF");
}

void CALLBACK AcceptSetupDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND dialog = ::FindWindowW(nullptr, L"Lumbra Console Setup")) {
        ::SetDlgItemTextW(dialog, IDC_CS_NAME, L"Fresh");
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
}

TEST(LMConsSetupDlg, SettingsOutsideTheDialogSurviveAndABrokenRecordStartsFromDefaults)
{
    LMConsSettings current = LMConsSettings::Defaults();
    current.Name = L"Board C";
    current.Shades = L"x";
    current.RxWrap = 0;  // fails the record check
    current.FolderBatch = L"C:\\Batches";
    LMConsSettings result = current;
    result.FolderBatch = L"D:\\Kept";
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &AcceptSetupDialog);
    ASSERT_TRUE(LMRunConsSetupDlg(nullptr, &current, Ports(), result));
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(result.Name, L"Fresh");
    EXPECT_EQ(result.RxWrap.Get(), 80u);
    // The defaults were the starting point, so the folder is the default one.
    EXPECT_EQ(result.FolderBatch, LMConsSettings::Defaults().FolderBatch);

    current.RxWrap = 132;
    current.Commands.push_back(L"ver");
    const UINT_PTR again = ::SetTimer(nullptr, 0, 50, &AcceptSetupDialog);
    ASSERT_TRUE(LMRunConsSetupDlg(nullptr, &current, Ports(), result));
    ::KillTimer(nullptr, again);
    EXPECT_EQ(result.RxWrap.Get(), 132u);
    EXPECT_EQ(result.FolderBatch, L"C:\\Batches");
    EXPECT_EQ(result.Commands.size(), 1u);
}

// Shows the dialog for a few seconds with two problems, for a screenshot.
TEST(LMConsSetupDlg, DISABLED_ShowForScreenshot)
{
    RunDialog(Named(L"Board C"), Ports(), [](ScriptedDlg& d) {
        d.Click(IDC_CS_MODE_TCPIP);
        d.Type(IDC_CS_NAME, L"");
        d.Type(IDC_CS_HOST_PORT, L"host:0");
        ::ShowWindow(d.Handle(), SW_SHOW);
        ::UpdateWindow(d.Handle());
        const DWORD end = ::GetTickCount() + 4000;
        MSG msg;
        while (::GetTickCount() < end) {
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::Sleep(20);
        }
    });
}

}  // namespace
