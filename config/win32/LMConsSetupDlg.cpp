#include "config/win32/LMConsSetupDlg.h"

#include <utility>

#include "config/ConsNameRules.h"
#include "config/LMConsSettings.h"
#include "config/LMConsValidation.h"
#include "config/win32/LMConsSetupDlgFont.h"
#include "config/win32/LMConsSetupDlgPorts.h"
#include "foundation/FontCode.h"
#include "foundation/NumberSyntax.h"
#include "foundation/win32/SystemErrorText.h"
#include "framework/win32/NFontDialog.h"
#include "framework/win32/NMessageBox.h"
#include "resources/LMConsSetupDlgIds.h"
#include "shades/NameFold.h"
#include "transport/SerialMode.h"
#include "transport/win32/NSerial.h"
#include "widgets/win32/InputBox.h"

namespace {

const wchar_t* const kRxTerms[] = {L"CR", L"LF", L"CR+LF", L"CR or LF", L"Automatic", L"Hex Mode"};
const wchar_t* const kTxTerms[] = {L"CR", L"LF", L"CR+LF", L"None"};

std::wstring TrimSpace(const std::wstring& text)
{
    size_t b = 0, e = text.size();
    while (b < e && NIsNumberSpace(text[b]))
        ++b;
    while (e > b && NIsNumberSpace(text[e - 1]))
        --e;
    return text.substr(b, e - b);
}

bool IsControlEnabled(HWND control)
{
    return control != nullptr && ::IsWindowEnabled(control);
}

}  // namespace

LMConsConfigDlg::LMConsConfigDlg(const LMConsSetupDlgRecord& record, LMConsSetupDlgContext context, HWND parent)
    : NDialog(IDD_CONS_SETUP, parent), m_record(record), m_context(std::move(context))
{
}

bool LMConsConfigDlg::OnInitDialog()
{
    m_filling = true;
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // Shared icons from LoadImage need no destruction.
    if (HANDLE big = ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_CONS_SETUP_DLG), IMAGE_ICON,
                                  ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), LR_SHARED))
        ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HANDLE small = ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_CONS_SETUP_DLG), IMAGE_ICON,
                                    ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED))
        ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));

    for (const wchar_t* item : kRxTerms)
        ::SendDlgItemMessageW(Handle(), IDC_CS_RX_TERM, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    for (const wchar_t* item : kTxTerms)
        ::SendDlgItemMessageW(Handle(), IDC_CS_TX_TERM, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));

    if (!m_context.editable) {
        for (int id : {IDC_CS_NAME, IDC_CS_ENABLED, IDC_CS_MODE_TCPIP, IDC_CS_MODE_COM, IDC_CS_MODE_DEVICE,
                       IDC_CS_HOST_PORT, IDC_CS_COM_PORT, IDC_CS_DEV_ADDR, IDC_CS_AUTO_CONNECT, IDC_CS_IGNORE_NDE})
            Enable(id, false);
    }
    // The shades dialog is not part of this program yet.
    Enable(IDC_CS_SHADES, false);

    DoDataExchange(false);
    InitFont();
    m_filling = false;
    Validate();
    return true;
}

bool LMConsConfigDlg::DoDataExchange(bool save)
{
    if (save)
        return Validate();
    SetItemText(IDC_CS_NAME, m_record.Name);
    ::CheckDlgButton(Handle(), IDC_CS_ENABLED, m_record.Enabled ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(Handle(), IDC_CS_LOGGING, m_record.Logging ? BST_CHECKED : BST_UNCHECKED);
    SetItemText(IDC_CS_HOST_PORT, m_record.HostPort);
    FillPortLists();
    const int modeButton = m_record.ConMode == 0   ? IDC_CS_MODE_TCPIP
                           : m_record.ConMode == 1 ? IDC_CS_MODE_DEVICE
                           : m_record.ConMode == 2 ? IDC_CS_MODE_COM
                                                   : 0;
    for (int id : {IDC_CS_MODE_TCPIP, IDC_CS_MODE_COM, IDC_CS_MODE_DEVICE})
        ::CheckDlgButton(Handle(), id, id == modeButton ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(Handle(), IDC_CS_AUTO_CONNECT, m_record.AutoConnect ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(Handle(), IDC_CS_IGNORE_NDE, m_record.IgnoreNDE ? BST_CHECKED : BST_UNCHECKED);
    ::SendDlgItemMessageW(Handle(), IDC_CS_RX_TERM, CB_SETCURSEL, m_record.RxTerm < 6 ? m_record.RxTerm : WPARAM(-1), 0);
    ::SendDlgItemMessageW(Handle(), IDC_CS_TX_TERM, CB_SETCURSEL, m_record.TxTerm < 4 ? m_record.TxTerm : WPARAM(-1), 0);
    SetItemText(IDC_CS_RX_WRAP, std::to_wstring(m_record.RxWrap));
    SetItemText(IDC_CS_RX_TIMEOUT, std::to_wstring(m_record.RxTO));
    SetItemText(IDC_CS_LOG_DEPTH, std::to_wstring(m_record.LogDepth));
    return true;
}

void LMConsConfigDlg::FillPortLists()
{
    std::vector<std::wstring> comPorts, devices;
    for (const auto& port : m_context.ports) {
        comPorts.push_back(port.comPort);
        if (!port.devAddr.empty())
            devices.push_back(port.devAddr);
    }
    // A stored port that is gone still shows, marked, so the user sees what
    // the console used; only a well-formed COM name is worth showing.
    FillList(IDC_CS_COM_PORT, comPorts, LMIsValidComPortName(TrimSpace(m_record.COMPort)) ? TrimSpace(m_record.COMPort) : L"");
    FillList(IDC_CS_DEV_ADDR, devices, m_record.DevAddr);
}

void LMConsConfigDlg::FillList(int id, const std::vector<std::wstring>& items, const std::wstring& current)
{
    HWND list = Item(id);
    if (list == nullptr)
        return;
    const bool wasEnabled = ::IsWindowEnabled(list) != FALSE;
    const bool wasFilling = std::exchange(m_filling, true);
    ::EnableWindow(list, FALSE);
    ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
    LRESULT selected = CB_ERR;
    for (const auto& item : items) {
        const LRESULT index = ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (!current.empty() && NNamesEqualNoCase(item, current))
            selected = index;
    }
    if (selected == CB_ERR && !current.empty()) {
        const std::wstring missing = L"*" + current;
        selected = ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(missing.c_str()));
    }
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    if (wasEnabled)
        ::EnableWindow(list, TRUE);
    m_filling = wasFilling;
}

void LMConsConfigDlg::InitFont()
{
    LOGFONTW font{};
    if (!LMFontFromCode(m_record.LogFontEnc, font) && !LMFontFromCode(L"Consolas,10", font))
        return;
    NFontSpec spec;
    double hint = 0;
    if (NDecodeFontCode(m_record.LogFontEnc, spec))
        hint = spec.pointSize;
    ShowFont(font, LMCodeFromFont(font, hint));
}

void LMConsConfigDlg::ShowFont(const LOGFONTW& font, const std::wstring& code)
{
    NFont made(::CreateFontIndirectW(&font));
    if (!made)
        return;
    // The sample must stop using the old font before it is deleted.
    ::SendDlgItemMessageW(Handle(), IDC_CS_FONT_SAMPLE, WM_SETFONT, reinterpret_cast<WPARAM>(made.Get()), TRUE);
    m_sampleFont = std::move(made);
    SetItemText(IDC_CS_FONT_GROUP, L"Console Font = " + code);
}

void LMConsConfigDlg::ChangeFont()
{
    LOGFONTW font{};
    if (!m_sampleFont || ::GetObjectW(m_sampleFont.Get(), sizeof font, &font) != sizeof font)
        LMFontFromCode(L"Consolas,10", font);
    if (!NChooseFont(Handle(), font))
        return;
    const std::wstring code = LMCodeFromFont(font);
    NFontSpec check;
    if (!NDecodeFontCode(code, check))
        return;
    m_record.LogFontEnc = code;
    ShowFont(font, code);
}

uint32_t LMConsConfigDlg::ModeFromButtons() const
{
    const bool tcp = ::IsDlgButtonChecked(Handle(), IDC_CS_MODE_TCPIP) == BST_CHECKED;
    const bool com = ::IsDlgButtonChecked(Handle(), IDC_CS_MODE_COM) == BST_CHECKED;
    const bool dev = ::IsDlgButtonChecked(Handle(), IDC_CS_MODE_DEVICE) == BST_CHECKED;
    if (static_cast<int>(tcp) + static_cast<int>(com) + static_cast<int>(dev) != 1)
        return 0;
    return tcp ? 0 : dev ? 1 : 2;
}

int LMConsConfigDlg::Selection(int id) const
{
    const LRESULT index = ::SendDlgItemMessageW(Handle(), id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

std::wstring LMConsConfigDlg::SelectedText(int id) const
{
    const int index = Selection(id);
    if (index < 0)
        return std::wstring();
    const LRESULT length = ::SendDlgItemMessageW(Handle(), id, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got =
        ::SendDlgItemMessageW(Handle(), id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
    return text;
}

void LMConsConfigDlg::Enable(int id, bool enabled)
{
    if (HWND control = Item(id))
        ::EnableWindow(control, enabled ? TRUE : FALSE);
}

bool LMConsConfigDlg::Validate()
{
    if (Handle() == nullptr || m_filling)
        return m_problems.empty();
    SLMConsInput input;
    input.name = ItemText(IDC_CS_NAME);
    input.adding = m_context.isNew;
    input.currentName = m_context.currentName;
    input.namesInUse = m_context.namesInUse;
    input.rxTerm = Selection(IDC_CS_RX_TERM);
    input.txTerm = Selection(IDC_CS_TX_TERM);
    input.rxWrap = ItemText(IDC_CS_RX_WRAP);
    input.rxTimeout = ItemText(IDC_CS_RX_TIMEOUT);
    input.logDepth = ItemText(IDC_CS_LOG_DEPTH);
    const uint32_t conMode = ModeFromButtons();
    input.conMode = static_cast<int>(conMode);
    input.hostPort = ItemText(IDC_CS_HOST_PORT);
    // A marked item ("*COM9", a port that is gone) is no valid choice, and
    // the rules refuse it as it stands.
    input.comPort = SelectedText(IDC_CS_COM_PORT);
    input.devAddr = SelectedText(IDC_CS_DEV_ADDR);

    m_record.Enabled = ::IsDlgButtonChecked(Handle(), IDC_CS_ENABLED) == BST_CHECKED;
    m_record.Logging = ::IsDlgButtonChecked(Handle(), IDC_CS_LOGGING) == BST_CHECKED;
    m_record.AutoConnect = ::IsDlgButtonChecked(Handle(), IDC_CS_AUTO_CONNECT) == BST_CHECKED;
    m_record.IgnoreNDE = ::IsDlgButtonChecked(Handle(), IDC_CS_IGNORE_NDE) == BST_CHECKED;

    // The rules write every value that passes into a settings record; the
    // fields they touch travel through one and back.
    LMConsSettings working;
    working.Name = m_record.Name;
    working.RxTerm = m_record.RxTerm;
    working.RxWrap = m_record.RxWrap;
    working.RxTO = m_record.RxTO;
    working.TxTerm = m_record.TxTerm;
    working.ConMode = m_record.ConMode;
    working.HostPort = m_record.HostPort;
    working.DevAddr = m_record.DevAddr;
    working.COMPort = m_record.COMPort;
    working.LogDepth = m_record.LogDepth;
    LMConsSetupDlgPorts ports(m_context.ports);
    SLMConsValidation result = LMValidateConsInput(input, working, &ports);

    const std::wstring comBefore = m_record.COMPort;
    const std::wstring devBefore = m_record.DevAddr;
    m_record.Name = working.Name;
    m_record.RxTerm = working.RxTerm.Get();
    m_record.RxWrap = working.RxWrap.Get();
    m_record.RxTO = working.RxTO.Get();
    m_record.TxTerm = working.TxTerm.Get();
    m_record.ConMode = conMode;
    m_record.HostPort = working.HostPort;
    m_record.DevAddr = working.DevAddr;
    m_record.COMPort = working.COMPort;
    m_record.LogDepth = working.LogDepth.Get();
    m_problems = std::move(result.messages);
    m_portValid = result.portValid;
    // A COM port without a device has none to record: the previous port's
    // address must not stay behind as this one's.
    if (m_portValid && conMode == LMConsSettings::kComSerial)
        m_record.DevAddr = ports.DevAddrOfComPort(m_record.COMPort);

    // The partner field follows the chosen port: show it in the other list.
    if (m_portValid && conMode == LMConsSettings::kDeviceSerial && !NNamesEqualNoCase(comBefore, m_record.COMPort))
        FillList(IDC_CS_COM_PORT, [&] {
            std::vector<std::wstring> v;
            for (const auto& p : m_context.ports)
                v.push_back(p.comPort);
            return v;
        }(), m_record.COMPort);
    if (m_portValid && conMode == LMConsSettings::kComSerial && !NNamesEqualNoCase(devBefore, m_record.DevAddr))
        FillList(IDC_CS_DEV_ADDR, [&] {
            std::vector<std::wstring> v;
            for (const auto& p : m_context.ports)
                if (!p.devAddr.empty())
                    v.push_back(p.devAddr);
            return v;
        }(), m_record.DevAddr);

    const bool editable = m_context.editable;
    Enable(IDC_CS_HOST_PORT, editable && conMode == LMConsSettings::kTcpIp);
    Enable(IDC_CS_COM_PORT, editable && conMode == LMConsSettings::kComSerial);
    Enable(IDC_CS_DEV_ADDR, editable && conMode == LMConsSettings::kDeviceSerial);
    UpdateModeSection();

    std::wstring joined;
    for (const auto& problem : m_problems) {
        if (!joined.empty())
            joined += L"\r\n";
        joined += problem;
    }
    SetItemText(IDC_CS_ERRORS, joined);
    ::ShowWindow(Item(IDC_CS_ERRORS), m_problems.empty() ? SW_HIDE : SW_SHOWNA);
    Enable(IDOK, m_problems.empty());
    return m_problems.empty();
}

void LMConsConfigDlg::UpdateModeSection()
{
    const bool serial = ModeFromButtons() != 0;
    const std::wstring base = NNormalizeSerialMode(m_record.SerMode);
    const std::wstring alt = NNormalizeSerialMode(m_record.AltMode);
    SetItemText(IDC_CS_SERMODE, base);
    SetItemText(IDC_CS_ALTMODE, alt);
    Enable(IDC_CS_SERMODE, serial);
    Enable(IDC_CS_ALTMODE, serial);
    const bool setup = serial && m_context.editable && m_portValid;
    Enable(IDC_CS_SERMODE_SETUP, setup);
    Enable(IDC_CS_ALTMODE_SETUP, setup);
    Enable(IDC_CS_SWAP, setup && !base.empty() && !alt.empty());
}

bool LMConsConfigDlg::AskBaudRate(const std::wstring& title, uint32_t& rate)
{
    if (m_context.askBaudRate)
        return m_context.askBaudRate(Handle(), title, rate);
    InputBox box(Handle(), title, L"Please enter a rate:", std::to_wstring(rate),
                 InputBoxValidation::IntegerRange(50, 3000000));
    if (box.DoModal() != IDOK)
        return false;
    uint32_t value = 0;
    if (!NParseUnsigned(box.Text(), 3000000, value) || value < 50)
        return false;
    rate = value;
    return true;
}

void LMConsConfigDlg::SetupMode(bool alternative, bool genericRate)
{
    std::wstring& field = alternative ? m_record.AltMode : m_record.SerMode;
    const std::wstring port = TrimSpace(m_record.COMPort);
    NSerial serial;
    if (!serial.ApplyPortMode(port + L": " + field))
        return;
    if (genericRate) {
        uint32_t rate = serial.Dcb().BaudRate;
        if (!AskBaudRate(port + L" custom baud rate", rate))
            return;
        NSerialDcb dcb = serial.Dcb();
        dcb.BaudRate = rate;
        serial.SetDcb(dcb);
        field = serial.CanonicalMode();
    } else if (serial.ConfigDialog(Handle())) {
        field = serial.CanonicalMode();
    } else if (!serial.LastStep().empty()) {
        const DWORD error = ::GetLastError();
        NMessageBox(Handle(),
                    L"Error " + serial.LastStep() + L" of " + port + L":" +
                        NSystemErrorText(error, nsyserr::kLong | nsyserr::kLeadingCrLf),
                    L"Serial Port Setup Error", MB_OK | MB_ICONERROR);
    }
    Validate();
}

void LMConsConfigDlg::SwapModes()
{
    if (!IsControlEnabled(Item(IDC_CS_SWAP)))
        return;
    std::swap(m_record.SerMode, m_record.AltMode);
    Validate();
}

bool LMConsConfigDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDOK || id == IDCANCEL)
        return NDialog::OnCommand(id, code, control);
    // A disabled control's notice (a text set by the program, say) changes
    // nothing the user chose.
    if (m_filling || (control != nullptr && !IsControlEnabled(control)))
        return false;
    switch (id) {
    case IDC_CS_NAME:
    case IDC_CS_HOST_PORT:
    case IDC_CS_RX_WRAP:
    case IDC_CS_RX_TIMEOUT:
    case IDC_CS_LOG_DEPTH:
        if (code == EN_CHANGE)
            Validate();
        return true;
    case IDC_CS_COM_PORT:
    case IDC_CS_DEV_ADDR:
    case IDC_CS_RX_TERM:
    case IDC_CS_TX_TERM:
        if (code == CBN_SELCHANGE)
            Validate();
        return true;
    case IDC_CS_MODE_TCPIP:
    case IDC_CS_MODE_COM:
    case IDC_CS_MODE_DEVICE:
    case IDC_CS_ENABLED:
    case IDC_CS_LOGGING:
    case IDC_CS_AUTO_CONNECT:
    case IDC_CS_IGNORE_NDE:
        if (code == BN_CLICKED)
            Validate();
        return true;
    case IDC_CS_SERMODE_SETUP:
    case IDC_CS_ALTMODE_SETUP:
        if (code == BN_CLICKED)
            SetupMode(id == IDC_CS_ALTMODE_SETUP, ::GetKeyState(VK_SHIFT) < 0);
        return true;
    case IDC_CS_SWAP:
        if (code == BN_CLICKED)
            SwapModes();
        return true;
    case IDC_CS_FONT_CHANGE:
        if (code == BN_CLICKED)
            ChangeFont();
        return true;
    default:
        return false;
    }
}

bool LMRunConsSetupDlg(HWND parent, LMConsSetupDlgRecord& record, const LMConsSetupDlgContext& context)
{
    LMConsConfigDlg dialog(record, context, parent);
    if (dialog.DoModal() != IDOK)
        return false;
    record = dialog.Record();
    return true;
}
