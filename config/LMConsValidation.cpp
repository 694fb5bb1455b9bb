#include "config/LMConsValidation.h"

#include "config/ConsNameRules.h"
#include "config/HostPortRules.h"
#include "config/IComPortDirectory.h"
#include "foundation/NumberSyntax.h"
#include "shades/NameFold.h"

SLMConsValidation LMValidateConsInput(const SLMConsInput& in, LMConsSettings& record, ILMComPortDirectory* ports)
{
    SLMConsValidation result;
    auto& msgs = result.messages;

    const std::wstring name(LMTrimSpace(in.name));
    const bool empty = name.empty();
    const bool reserved = !empty && LMIsReservedConsoleName(name);
    bool nameOk = !empty && !reserved;
    if (empty) msgs.emplace_back(L"Name cannot be empty");
    if (reserved) msgs.emplace_back(L"Name is reserved");
    if (nameOk && (in.adding || !NNamesEqualNoCase(name, in.currentName))) {
        for (const std::wstring& other : in.namesInUse) {
            if (NNamesEqualNoCase(name, other)) {
                msgs.emplace_back(L"Name already in use");
                nameOk = false;
                break;
            }
        }
    }
    if (nameOk) record.Name = name;

    if (in.rxTerm < 0 || in.rxTerm >= 6) msgs.emplace_back(L"Rx termination out of range");
    else record.RxTerm = static_cast<unsigned>(in.rxTerm);

    uint32_t n = 0;
    if (!NParseUnsigned(in.rxWrap, LMConsSettings::kMaxRxWrap, n) || n < 1) msgs.emplace_back(L"Invalid Rx line wrap");
    else record.RxWrap = n;

    if (!NParseUnsigned(in.rxTimeout, 0xFFFFFFFFu, n)) msgs.emplace_back(L"Invalid Rx timeout");
    else record.RxTO = n;

    if (in.txTerm < 0 || in.txTerm >= 4) msgs.emplace_back(L"Tx termination out of range");
    else record.TxTerm = static_cast<unsigned>(in.txTerm);

    switch (in.conMode) {
    case LMConsSettings::kTcpIp:
        if (const wchar_t* m = LMCheckHostPort(in.hostPort)) {
            msgs.emplace_back(m);
        } else {
            record.HostPort = in.hostPort;
            result.portValid = true;
        }
        record.ConMode = LMConsSettings::kTcpIp;
        break;
    case LMConsSettings::kDeviceSerial:
        if (in.devAddr.empty() || ports == nullptr || !ports->IsDevAddrPresent(in.devAddr)) {
            msgs.emplace_back(L"Invalid serial device");
        } else {
            record.DevAddr = in.devAddr;
            const std::wstring com = ports->ComPortOfDevAddr(in.devAddr);
            if (!com.empty()) record.COMPort = com;
            result.portValid = true;
        }
        record.ConMode = LMConsSettings::kDeviceSerial;
        break;
    case LMConsSettings::kComSerial:
        if (!LMIsValidComPortName(in.comPort) || ports == nullptr || !ports->IsComPortPresent(in.comPort)) {
            msgs.emplace_back(L"Invalid COM port");
        } else {
            record.COMPort = in.comPort;
            const std::wstring dev = ports->DevAddrOfComPort(in.comPort);
            if (!dev.empty()) record.DevAddr = dev;
            result.portValid = true;
        }
        record.ConMode = LMConsSettings::kComSerial;
        break;
    default:
        msgs.emplace_back(L"Invalid console mode");
        break;
    }

    if (!NParseUnsigned(in.logDepth, LMConsSettings::kMaxLogDepth, n) || n < 1) msgs.emplace_back(L"Invalid log depth");
    else record.LogDepth = n;
    return result;
}
