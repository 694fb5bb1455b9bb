#include "config/LMMessageNames.h"

namespace lmmsg {
namespace {
constexpr const wchar_t* kNames[kCount] = {
    L"LMBaseDrawnView::ms_cnMsgIDConsolePopUpMenu",
    L"LMBaseDrawnView::ms_cnMsgIDCOMEnumUpdated",
    L"LMConsConfig::ms_cnMsgIDBringToFront",
    L"LMConsConfig::ms_cnMsgIDMinimize",
    L"LMConsConfig::ms_cnMsgIDUpdateLogging",
    L"LMConsConfig::ms_cnMsgIDUpdateSetup",
    L"LMConsConfig::ms_cnMsgIDUpdateDevice",
    L"LMConsConfig::ms_cnMsgIDResetBoard",
    L"LMConsConfig::ms_cnMsgIDShutdown",
    L"LMConsFrame::ms_cnMsgIDOnDirWatch",
    L"LMConsFrame::ms_cnMsgIDOnDirChange",
    L"LMConsFrame::ms_cnMsgIDOnConnect",
    L"LMConsFrame::ms_cnMsgIDRecalcLayout",
    L"LMConsView::ms_cnFromLogMsgID",
    L"LMCmdDlg::ms_cnMsgIDAutoSizeReq",
    L"DrawnWnd::ms_cnMsgIDCallback",
    L"AutoSizeCols::ms_cnMsgIDAutoSize",
    L"AutoSizeCols::ms_cnMsgIDResized",
    L"LCColumnAutoSizer::ms_cnMsgIDAutoSizeCol",
    L"InputBox::ms_cnMsgIDInputChanged",
};
}  // namespace

const wchar_t* Name(EMessage message)
{
    return message < kCount ? kNames[message] : L"";
}
}  // namespace lmmsg
