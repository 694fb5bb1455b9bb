#include "app/LMConsListCells.h"

#include "app/LMConsConfigRow.h"
#include "config/IComPortDirectory.h"
#include "config/LMConsConfig.h"

namespace {
SLMConsCell NameCell(const LMConsConfig& config, const LMConsConfigRow& row)
{
    SLMConsCell cell{config.CopyString(&LMConsSettings::Name), 0};
    if (row.IsOpen())
        cell.icon = lmcell::kIconOpen;
    else if (row.IsEnabled() && row.IsPortPresent() && row.IsSerialModeValid() && !row.IsPortBusy())
        cell.icon = lmcell::kIconReady;
    else if (!row.IsEnabled() || !NClassInfo::IsA(&config, LMConsConfig::ms_classDesc))
        cell.icon = lmcell::kIconDisabled;
    else
        cell.icon = lmcell::kIconUnavailable;
    return cell;
}

SLMConsCell HostCell(const LMConsConfig& config)
{
    switch (config.Settings().ConMode.Get()) {
    case LMConsSettings::kTcpIp: return {config.CopyString(&LMConsSettings::HostPort), lmcell::kIconTcpIp};
    case LMConsSettings::kDeviceSerial: return {config.CopyString(&LMConsSettings::DevAddr), lmcell::kIconSerial};
    case LMConsSettings::kComSerial: return {config.CopyString(&LMConsSettings::COMPort), lmcell::kIconSerial};
    default: return {L"*** ERROR ***", 0};
    }
}

SLMConsCell DeviceCell(const LMConsConfig& config, const LMConsConfigRow& row, ILMComPortDirectory* ports)
{
    const unsigned mode = config.Settings().ConMode.Get();
    if (mode != LMConsSettings::kDeviceSerial && mode != LMConsSettings::kComSerial)
        return {};
    std::wstring text;
    if (ports != nullptr)
        text = mode == LMConsSettings::kDeviceSerial
                   ? ports->ComPortOfDevAddr(config.CopyString(&LMConsSettings::DevAddr))
                   : ports->DevAddrOfComPort(config.CopyString(&LMConsSettings::COMPort));
    if (text.empty())
        text = L"N/A";
    int icon = lmcell::kIconPortOk;
    if (!row.IsConnected()) {
        if (!row.IsPortPresent())
            icon = lmcell::kIconPortMissing;
        else if (row.IsPortBusy())
            icon = lmcell::kIconPortBusy;
    }
    return {text, icon};
}
}  // namespace

SLMConsCell LMConsCellOf(const LMConsConfig& config, int column, ILMComPortDirectory* ports)
{
    const LMConsConfigRow row(config);
    switch (column) {
    case 0: return NameCell(config, row);
    case 1: return HostCell(config);
    case 2: return DeviceCell(config, row, ports);
    case 3: {
        SLMConsCell cell;
        cell.text = config.GetStatus(&cell.icon);
        return cell;
    }
    default: return {};
    }
}
