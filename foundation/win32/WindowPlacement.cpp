#include "foundation/win32/WindowPlacement.h"

NWindowPlacementText NPlacementToText(const WINDOWPLACEMENT& placement)
{
    NWindowPlacementText text;
    text.flags = placement.flags;
    text.showCmd = placement.showCmd;
    text.minX = placement.ptMinPosition.x;
    text.minY = placement.ptMinPosition.y;
    text.maxX = placement.ptMaxPosition.x;
    text.maxY = placement.ptMaxPosition.y;
    text.left = placement.rcNormalPosition.left;
    text.top = placement.rcNormalPosition.top;
    text.right = placement.rcNormalPosition.right;
    text.bottom = placement.rcNormalPosition.bottom;
    return text;
}

WINDOWPLACEMENT NPlacementFromText(const NWindowPlacementText& text)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.flags = text.flags;
    placement.showCmd = text.showCmd;
    placement.ptMinPosition = {text.minX, text.minY};
    placement.ptMaxPosition = {text.maxX, text.maxY};
    placement.rcNormalPosition = {text.left, text.top, text.right, text.bottom};
    return placement;
}
