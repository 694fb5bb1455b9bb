#pragma once
// The texts a console view shows about its console: the address used in the
// window title and the start-up notes, and the program's version text.
#include <string>

#include "config/LMConsSettings.h"

// "HostPort", "DevAddr" or "COMPort" by the connection mode; "*** ERROR ***"
// for an unknown mode.
std::wstring LMConsTitleAddress(const LMConsSettings& settings);
// Name + " @ " + address + " - Lumbra".
std::wstring LMConsFrameTitle(const LMConsSettings& settings);
// "Loaded setup " + address + " @ " + the serial mode in its short form
// (nothing for a TCP/IP console; the mode as stored when it does not parse).
std::wstring LMConsLoadedSetupNote(const LMConsSettings& settings);
// The running program's version resource as "%p %g %V" (product name,
// "Debug" or "Release", version); "Lumbra" when the program has none.
std::wstring LMConsProgramVersionText();
