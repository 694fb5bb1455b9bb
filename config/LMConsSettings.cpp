#include "config/LMConsSettings.h"

#include "config/NPSStore.h"

const LMConsSettings& LMConsSettings::Defaults()
{
    static const LMConsSettings defaults;
    return defaults;
}

bool LMConsSettings::IsAcceptable() const
{
    const unsigned wrap = RxWrap, depth = LogDepth;
    return !Name.empty() && ConMode < 3 && RxTerm < 6 && wrap >= 1 && wrap <= kMaxRxWrap && TxTerm < 4 &&
           !LogFontEnc.empty() && depth >= 1 && depth <= kMaxLogDepth && !Shades.empty();
}

void LMConsSettings::Register(NPSStore& s)
{
    s.AddBool(L"Enabled", &Enabled);
    s.AddString(L"Name", &Name);
    s.AddUInt32(L"ConMode", &ConMode);
    s.AddString(L"HostPort", &HostPort);
    s.AddString(L"DevAddr", &DevAddr);
    s.AddString(L"COMPort", &COMPort);
    s.AddString(L"SerMode", &SerMode);
    s.AddString(L"AltMode", &AltMode);
    s.AddString(L"FolderFw", &FolderFw);
    s.AddString(L"FolderBatch", &FolderBatch);
    s.AddString(L"FolderCmd", &FolderCmd);
    s.AddString(L"FolderShades", &FolderShades);
    s.AddString(L"BatchEditor", &BatchEditor);
    s.AddStringList(L"Commands", &Commands);
    s.AddBool(L"BatchIgnoreErrors", &BatchIgnoreErrors);
    s.AddBool(L"AutoConnect", &AutoConnect);
    s.AddBool(L"Logging", &Logging);
    s.AddUInt32(L"RxTerm", &RxTerm);
    s.AddUInt32(L"RxWrap", &RxWrap);
    s.AddUInt32(L"RxTO", &RxTO);
    s.AddUInt32(L"TxTerm", &TxTerm);
    s.AddBool(L"IgnoreNDE", &IgnoreNDE);
    s.AddBool(L"SuppressFWUpd", &SuppressFWUpd);
    s.AddString(L"LogFontEnc", &LogFontEnc);
    s.AddUInt32(L"LogDepth", &LogDepth);
    s.AddUInt32(L"ListIndex", &ListIndex);
    s.AddString(L"Shades", &Shades);
    s.AddString(L"ConWndPos", &ConWndPos);
    s.AddString(L"ConWndCBPos", &ConWndCBPos);
    s.AddString(L"ConWndTBPos", &ConWndTBPos);
    s.AddString(L"ConWndBBPos", &ConWndBBPos);
    s.AddString(L"CmdWndPos", &CmdWndPos);
}
