#pragma once
// The setup dialog on a console's settings record: what the main window's Add
// and Setup commands and the console window's Setup command call.
#include <windows.h>

#include "config/LMConsSettings.h"
#include "config/win32/LMConsSetupDlgRecord.h"

class LMConsConfig;

// The fields the dialog edits, copied out of and back into a settings record;
// the fields it does not show (folders other than the shades folder, commands,
// placements, list index ...) are left as they are.
LMConsSetupDlgRecord LMSetupRecordFrom(const LMConsSettings& settings);
void LMSetupRecordInto(const LMConsSetupDlgRecord& record, LMConsSettings& settings);

// Runs the dialog modally. It starts from `current` when that is given and
// passes the record check, otherwise from the defaults (a new console, or a
// stored record too damaged to edit). On OK returns true with `result` the
// settings to apply (Apply for an existing console, the key-name constructor
// for a new one); on Cancel `result` is untouched. `current` must be a copy
// the caller took under the configuration's lock.
bool LMRunConsSetupDlg(HWND parent, const LMConsSettings* current, const LMConsSetupDlgContext& context,
                       LMConsSettings& result);

// Applies the dialog's result to an existing console. Only the fields the
// dialog edits are taken from `edited`; everything else comes from the
// configuration as it is now. The dialog may have been open for minutes while
// the console went on sending commands, choosing folders and moving its
// windows, and applying the whole copy taken at its start would undo that.
// Fails as LMConsConfig::Apply does (last error set).
bool LMApplySetupDlgResult(LMConsConfig& config, const LMConsSettings& edited);
