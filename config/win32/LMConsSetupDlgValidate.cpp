#include "config/win32/LMConsSetupDlgValidate.h"

#include <cwctype>

#include "foundation/NumberSyntax.h"

namespace {

constexpr uint32_t kMaxU32 = 0xFFFFFFFFu;

wchar_t Fold(wchar_t c)
{
    return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
}

bool StartsNoCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && LMSetupDlgEqualNoCase(text.substr(0, prefix.size()), prefix);
}

std::wstring Trim(std::wstring_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && NIsNumberSpace(text[b]))
        ++b;
    while (e > b && NIsNumberSpace(text[e - 1]))
        --e;
    return std::wstring(text.substr(b, e - b));
}

// Whole signed integer: optional leading white space, optional sign, then the
// unsigned number syntax (which allows trailing white space).
bool IsSignedInteger(std::wstring_view text)
{
    size_t i = 0;
    while (i < text.size() && NIsNumberSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        ++i;
    uint32_t value = 0;
    return NParseUnsigned(text.substr(i), kMaxU32, value);
}

bool IsHostChar(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L'-';
}

std::wstring HostProblem(std::wstring_view text)
{
    // Iterative form of the per-segment rules: each pass checks one segment
    // and continues on the rest after its dot.
    for (;;) {
        if (text.empty())
            return L"Empty host";
        if (text.front() == L'.')
            return L"Invalid (empty) host segment";
        const size_t dot = text.find(L'.');
        const std::wstring_view segment = text.substr(0, dot);
        for (wchar_t c : segment)
            if (!IsHostChar(c))
                return L"Invalid host character";
        if (dot == std::wstring_view::npos)
            return std::wstring();
        text = text.substr(dot + 1);
    }
}

bool ReadRange(const std::wstring& text, uint32_t low, uint32_t high, uint32_t& out)
{
    uint32_t value = 0;
    if (!NParseUnsigned(text, high, value) || value < low)
        return false;
    out = value;
    return true;
}

const LMConsSetupDlgPort* FindPortByName(const LMConsSetupDlgContext& context, std::wstring_view name)
{
    for (const auto& port : context.ports)
        if (LMSetupDlgEqualNoCase(port.comPort, name))
            return &port;
    return nullptr;
}

const LMConsSetupDlgPort* FindPortByDevice(const LMConsSetupDlgContext& context, std::wstring_view address)
{
    if (address.empty())
        return nullptr;
    for (const auto& port : context.ports)
        if ((!port.devAddr.empty() && LMSetupDlgEqualNoCase(port.devAddr, address)) ||
            (!port.devAddr2.empty() && LMSetupDlgEqualNoCase(port.devAddr2, address)))
            return &port;
    return nullptr;
}

}  // namespace

bool LMSetupDlgEqualNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

std::wstring LMSetupDlgStripMark(std::wstring_view item)
{
    if (!item.empty() && item.front() == L'*')
        item.remove_prefix(1);
    return std::wstring(item);
}

bool LMSetupDlgIsComPortName(std::wstring_view name)
{
    if (!StartsNoCase(name, L"COM") || name.size() == 3 || name.size() > 6)
        return false;
    uint32_t number = 0;
    for (wchar_t c : name.substr(3)) {
        if (c < L'0' || c > L'9')
            return false;
        number = number * 10 + static_cast<uint32_t>(c - L'0');
    }
    return number >= 1;
}

bool LMSetupDlgIsReservedName(std::wstring_view name)
{
    for (std::wstring_view device : {L"COM", L"CON", L"AUX", L"PRN", L"NUL"})
        if (LMSetupDlgEqualNoCase(name, device))
            return true;
    if (StartsNoCase(name, L"COM") || StartsNoCase(name, L"LPT"))
        return IsSignedInteger(name.substr(3));
    return false;
}

std::wstring LMSetupDlgHostPortProblem(std::wstring_view text)
{
    if (text.empty())
        return L"Empty host[:port]";
    const size_t colon = text.find(L':');
    if (colon == std::wstring_view::npos)
        return HostProblem(text);
    if (colon == 0)
        return L"Invalid host (port only?)";
    if (colon + 1 == text.size())
        return L"Invalid (: + empty?) port";
    const std::wstring_view port = text.substr(colon + 1);
    for (wchar_t c : port)
        if (c < L'0' || c > L'9')
            return L"Invalid port character(s)";
    uint32_t number = 0;
    if (!NParseUnsigned(port, 65535, number) || number < 1)
        return L"Invalid port value";
    return HostProblem(text.substr(0, colon));
}

std::vector<std::wstring> LMConsSetupDlgValidate(const LMConsSetupDlgInput& input,
                                                 const LMConsSetupDlgContext& context, LMConsSetupDlgRecord& record,
                                                 bool& portValid)
{
    std::vector<std::wstring> problems;
    record.Enabled = input.enabled;
    record.Logging = input.logging;
    record.AutoConnect = input.autoConnect;
    record.IgnoreNDE = input.ignoreNDE;

    const std::wstring name = Trim(input.name);
    bool nameOk = true;
    if (name.empty()) {
        problems.emplace_back(L"Name cannot be empty");
        nameOk = false;
    }
    if (!name.empty() && LMSetupDlgIsReservedName(name)) {
        problems.emplace_back(L"Name is reserved");
        nameOk = false;
    }
    if (nameOk && (context.isNew || !LMSetupDlgEqualNoCase(name, context.currentName))) {
        for (const auto& used : context.namesInUse) {
            if (LMSetupDlgEqualNoCase(name, used)) {
                problems.emplace_back(L"Name already in use");
                nameOk = false;
                break;
            }
        }
    }
    if (nameOk)
        record.Name = name;

    if (input.rxTerm < 0 || input.rxTerm >= 6)
        problems.emplace_back(L"Rx termination out of range");
    else
        record.RxTerm = static_cast<uint32_t>(input.rxTerm);
    if (!ReadRange(input.rxWrap, 1, 4096, record.RxWrap))
        problems.emplace_back(L"Invalid Rx line wrap");
    if (!ReadRange(input.rxTimeout, 0, kMaxU32, record.RxTO))
        problems.emplace_back(L"Invalid Rx timeout");
    if (input.txTerm < 0 || input.txTerm >= 4)
        problems.emplace_back(L"Tx termination out of range");
    else
        record.TxTerm = static_cast<uint32_t>(input.txTerm);

    record.ConMode = input.conMode;
    portValid = false;
    if (input.conMode == 0) {
        std::wstring problem = LMSetupDlgHostPortProblem(input.hostPort);
        if (problem.empty()) {
            portValid = true;
            record.HostPort = input.hostPort;
        } else {
            problems.push_back(std::move(problem));
        }
    } else if (input.conMode == 1) {
        const LMConsSetupDlgPort* port =
            input.devAddr.empty() || input.devAddr.front() == L'*' ? nullptr : FindPortByDevice(context, input.devAddr);
        if (port == nullptr) {
            problems.emplace_back(L"Invalid serial device");
        } else {
            portValid = true;
            record.DevAddr = input.devAddr;
            record.COMPort = port->comPort;
        }
    } else {
        const LMConsSetupDlgPort* port =
            input.comPort.empty() || input.comPort.front() == L'*' ? nullptr : FindPortByName(context, input.comPort);
        if (port == nullptr) {
            problems.emplace_back(L"Invalid COM port");
        } else {
            portValid = true;
            record.COMPort = port->comPort;
            record.DevAddr = port->devAddr;
        }
    }

    if (!ReadRange(input.logDepth, 1, 2147483647u, record.LogDepth))
        problems.emplace_back(L"Invalid log depth");
    return problems;
}
