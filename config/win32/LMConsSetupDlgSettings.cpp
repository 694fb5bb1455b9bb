#include "config/win32/LMConsSetupDlgSettings.h"

#include "config/LMConsConfig.h"
#include "config/win32/LMConsSetupDlg.h"

LMConsSetupDlgRecord LMSetupRecordFrom(const LMConsSettings& s)
{
    LMConsSetupDlgRecord r;
    r.Enabled = s.Enabled;
    r.Name = s.Name;
    r.ConMode = s.ConMode;
    r.HostPort = s.HostPort;
    r.DevAddr = s.DevAddr;
    r.COMPort = s.COMPort;
    r.SerMode = s.SerMode;
    r.AltMode = s.AltMode;
    r.FolderShades = s.FolderShades;
    r.AutoConnect = s.AutoConnect;
    r.Logging = s.Logging;
    r.RxTerm = s.RxTerm;
    r.RxWrap = s.RxWrap;
    r.RxTO = s.RxTO;
    r.TxTerm = s.TxTerm;
    r.IgnoreNDE = s.IgnoreNDE;
    r.LogFontEnc = s.LogFontEnc;
    r.LogDepth = s.LogDepth;
    r.Shades = s.Shades;
    return r;
}

void LMSetupRecordInto(const LMConsSetupDlgRecord& r, LMConsSettings& s)
{
    s.Enabled = r.Enabled;
    s.Name = r.Name;
    s.ConMode = r.ConMode;
    s.HostPort = r.HostPort;
    s.DevAddr = r.DevAddr;
    s.COMPort = r.COMPort;
    s.SerMode = r.SerMode;
    s.AltMode = r.AltMode;
    s.FolderShades = r.FolderShades;
    s.AutoConnect = r.AutoConnect;
    s.Logging = r.Logging;
    s.RxTerm = r.RxTerm;
    s.RxWrap = r.RxWrap;
    s.RxTO = r.RxTO;
    s.TxTerm = r.TxTerm;
    s.IgnoreNDE = r.IgnoreNDE;
    s.LogFontEnc = r.LogFontEnc;
    s.LogDepth = r.LogDepth;
    s.Shades = r.Shades;
}

bool LMRunConsSetupDlg(HWND parent, const LMConsSettings* current, const LMConsSetupDlgContext& context,
                       LMConsSettings& result)
{
    LMConsSettings working = current != nullptr && current->IsAcceptable() ? *current : LMConsSettings::Defaults();
    LMConsSetupDlgRecord record = LMSetupRecordFrom(working);
    if (!LMRunConsSetupDlg(parent, record, context))
        return false;
    LMSetupRecordInto(record, working);
    result = working;
    return true;
}

bool LMApplySetupDlgResult(LMConsConfig& config, const LMConsSettings& edited)
{
    // Copy and apply are two locked steps; what the console changes between
    // them is a matter of microseconds rather than of the dialog's lifetime.
    LMConsSettings merged = config.CopySettings();
    LMSetupRecordInto(LMSetupRecordFrom(edited), merged);
    return config.Apply(merged);
}
