#include "config/win32/LMConsSetupDlgFont.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "foundation/FontCode.h"

namespace {

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

LONG HeightOf(double points, int dpi)
{
    return -static_cast<LONG>(std::lround(points * dpi / 72.0));
}

}  // namespace

bool LMFontFromCode(const std::wstring& code, LOGFONTW& font)
{
    NFontSpec spec;
    if (!NDecodeFontCode(code, spec))
        return false;
    LOGFONTW made{};
    made.lfHeight = HeightOf(spec.pointSize, ScreenDpi());
    made.lfWeight = static_cast<LONG>(spec.weight);
    made.lfItalic = spec.italic ? TRUE : FALSE;
    made.lfUnderline = spec.underline ? TRUE : FALSE;
    made.lfStrikeOut = spec.strikeOut ? TRUE : FALSE;
    made.lfCharSet = DEFAULT_CHARSET;
    made.lfOutPrecision = OUT_DEFAULT_PRECIS;
    made.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    made.lfQuality = DEFAULT_QUALITY;
    made.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::wcsncpy(made.lfFaceName, spec.faceName.c_str(), LF_FACESIZE - 1);
    font = made;
    return true;
}

std::wstring LMCodeFromFont(const LOGFONTW& font, double sizeHint)
{
    const int dpi = ScreenDpi();
    NFontSpec spec;
    spec.faceName.assign(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE));
    if (spec.faceName.size() > NFontSpec::kMaxFaceName)
        spec.faceName.resize(NFontSpec::kMaxFaceName);
    // Pixel heights lose the fraction of a point: keep the size the font was
    // made from when it gives the same height, so "Consolas,10" stays 10
    // instead of reading back as 9.75.
    const LONG height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    if (sizeHint > 0 && HeightOf(sizeHint, dpi) == -height)
        spec.pointSize = sizeHint;
    else
        spec.pointSize = height == 0 ? 10.0 : std::max(1.0, std::round(height * 72.0 / dpi));
    spec.weight = font.lfWeight == 0 ? 400 : static_cast<uint32_t>(std::min<LONG>(font.lfWeight, 1000));
    spec.italic = font.lfItalic != 0;
    spec.underline = font.lfUnderline != 0;
    spec.strikeOut = font.lfStrikeOut != 0;
    return NEncodeFontCode(spec);
}
