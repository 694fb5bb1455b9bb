#pragma once
// One display line of the console log view.
#include <cstdint>
#include <string>

struct ConsoleLine {
    // Index into the view's colour schemes; the console view stores the log kind.
    uint32_t scheme = 0;
    std::wstring text;
    // Pixel width plus 2, or -1 while the line has not been measured.
    int32_t width = -1;
    // Set once the line is in the back buffer; cleared whenever the line is set.
    bool drawn = false;
};
