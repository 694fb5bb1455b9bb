#pragma once
// The platform's window placement and its stored text form, field by field.
#include <windows.h>

#include "foundation/WindowPlacementText.h"

NWindowPlacementText NPlacementToText(const WINDOWPLACEMENT& placement);
// length is set, so the result can go straight to SetWindowPlacement.
WINDOWPLACEMENT NPlacementFromText(const NWindowPlacementText& text);
