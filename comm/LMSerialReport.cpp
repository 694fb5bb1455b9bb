#include "comm/LMSerialReport.h"

#include "comm/LMCommFlagNames.h"
#include "shades/LMShades.h"

bool LMDescribeSerialPacket(uint16_t packetKind, uint32_t value, std::wstring_view portName, bool ignoreNDE,
                            SLMSerialReport& report)
{
    const std::wstring port(portName);
    switch (packetKind) {
    case lmpacket::kFailure:
    case lmpacket::kData:
        return false;
    case lmpacket::kEvents: {
        const uint32_t events = value & ~7u;
        if (ignoreNDE || events == 0)
            return false;
        report.kind = LMShades::kInfo;
        report.text = L"Serial port " + port + L" event(s) 0x" + LMHexDigits(events, 4) + L" " + LMCommEventNames(events);
        return true;
    }
    case lmpacket::kModemStatus:
        if (ignoreNDE)
            return false;
        report.kind = LMShades::kInfo;
        report.text = L"Serial port " + port + L" modem status 0x" + LMHexDigits(value, 2) + L" " + LMModemLineList(value);
        return true;
    case lmpacket::kErrors:
        if (ignoreNDE)
            return false;
        report.kind = LMShades::kWarning;
        report.text = L"Serial port " + port + L" error 0x" + LMHexDigits(value, 4) + L" " + LMCommErrorNames(value);
        return true;
    default:
        report.kind = LMShades::kWarning;
        report.text = L"Unexpected receiver packet";
        return true;
    }
}
