// Draws the program's icons from simple vector shapes and writes them as .ico
// files with 16, 24, 32 and 48 pixel images (32-bit with alpha):
//   g++ -std=c++20 -O2 tools/iconmaker/IconMaker.cpp -o /tmp/iconmaker && /tmp/iconmaker resources/icons
// Shapes are given in a 0..1 square, so every size is drawn, not scaled.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {
struct Rgba {
    uint8_t r, g, b, a = 255;
};

constexpr int kSamples = 4;  // supersampling per axis

class Canvas {
public:
    explicit Canvas(int size) : m_size(size), m_px(static_cast<size_t>(size * size), {0, 0, 0, 0}) {}
    int Size() const { return m_size; }
    const std::vector<Rgba>& Pixels() const { return m_px; }

    // Fills the area where inside(x, y) holds (unit coordinates), blending by coverage.
    void Fill(const std::function<bool(double, double)>& inside, Rgba c)
    {
        for (int y = 0; y < m_size; ++y) {
            for (int x = 0; x < m_size; ++x) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx) {
                        const double ux = (x + (sx + 0.5) / kSamples) / m_size;
                        const double uy = (y + (sy + 0.5) / kSamples) / m_size;
                        hits += inside(ux, uy) ? 1 : 0;
                    }
                if (hits != 0)
                    Blend(m_px[static_cast<size_t>(y * m_size + x)], c, hits / double(kSamples * kSamples));
            }
        }
    }

private:
    static void Blend(Rgba& dst, Rgba src, double coverage)
    {
        const double sa = src.a / 255.0 * coverage;
        const double da = dst.a / 255.0;
        const double oa = sa + da * (1 - sa);
        if (oa <= 0)
            return;
        auto mix = [&](uint8_t s, uint8_t d) {
            return static_cast<uint8_t>(std::lround((s * sa + d * da * (1 - sa)) / oa));
        };
        dst = {mix(src.r, dst.r), mix(src.g, dst.g), mix(src.b, dst.b), static_cast<uint8_t>(std::lround(oa * 255))};
    }

    int m_size;
    std::vector<Rgba> m_px;
};

// Shape helpers (unit coordinates, y down).
using Shape = std::function<bool(double, double)>;
Shape Circle(double cx, double cy, double r)
{
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
Shape Ring(double cx, double cy, double r, double w)
{
    return [=](double x, double y) {
        const double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
        return d <= r && d >= r - w;
    };
}
Shape Rect(double l, double t, double r, double b)
{
    return [=](double x, double y) { return x >= l && x <= r && y >= t && y <= b; };
}
Shape RoundRect(double l, double t, double r, double b, double rad)
{
    return [=](double x, double y) {
        if (x < l || x > r || y < t || y > b)
            return false;
        const double cx = std::clamp(x, l + rad, r - rad), cy = std::clamp(y, t + rad, b - rad);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= rad * rad;
    };
}
Shape Polygon(std::vector<std::pair<double, double>> pts)
{
    return [pts](double x, double y) {
        bool in = false;
        for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            const auto [xi, yi] = pts[i];
            const auto [xj, yj] = pts[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                in = !in;
        }
        return in;
    };
}
Shape Line(double x0, double y0, double x1, double y1, double w)
{
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double px = x0 + t * dx - x, py = y0 + t * dy - y;
        return px * px + py * py <= (w / 2) * (w / 2);
    };
}
Shape Gear(double cx, double cy, double r, int teeth)
{
    return [=](double x, double y) {
        const double dx = x - cx, dy = y - cy;
        const double d = std::sqrt(dx * dx + dy * dy);
        const double a = std::atan2(dy, dx);
        const double tooth = std::cos(a * teeth) > 0.2 ? r : r * 0.78;
        return d <= tooth && d >= r * 0.3;
    };
}

const Rgba kBlack{30, 30, 30}, kWhite{255, 255, 255}, kGreen{46, 160, 67}, kRed{210, 45, 45}, kBlue{40, 110, 210},
    kGrey{140, 140, 140}, kAmber{230, 160, 20}, kDark{45, 52, 64}, kLight{225, 232, 240}, kOrange{235, 120, 30};

void Window(Canvas& c, double l, double t, double r, double b, Rgba title)
{
    c.Fill(RoundRect(l, t, r, b, 0.04), kDark);
    c.Fill(Rect(l + 0.05, t + 0.17, r - 0.05, b - 0.05), kLight);
    c.Fill(Rect(l + 0.05, t + 0.04, r - 0.05, t + 0.14), title);
}
void Connector(Canvas& c, Rgba body)
{
    c.Fill(Polygon({{0.08, 0.3}, {0.92, 0.3}, {0.8, 0.72}, {0.2, 0.72}}), body);
    for (int i = 0; i < 4; ++i)
        c.Fill(Circle(0.26 + i * 0.16, 0.44, 0.045), kWhite);
    for (int i = 0; i < 3; ++i)
        c.Fill(Circle(0.34 + i * 0.16, 0.58, 0.045), kWhite);
}
void ArrowUp(Canvas& c, Rgba col)
{
    c.Fill(Polygon({{0.5, 0.08}, {0.9, 0.5}, {0.66, 0.5}, {0.66, 0.92}, {0.34, 0.92}, {0.34, 0.5}, {0.1, 0.5}}), col);
}
void ArrowDown(Canvas& c, Rgba col)
{
    c.Fill(Polygon({{0.5, 0.92}, {0.9, 0.5}, {0.66, 0.5}, {0.66, 0.08}, {0.34, 0.08}, {0.34, 0.5}, {0.1, 0.5}}), col);
}

struct IconDef {
    int id;
    const char* name;
    std::function<void(Canvas&)> draw;
};

std::vector<IconDef> Icons()
{
    return {
        {128, "Lumbra", [](Canvas& c) {
             c.Fill(RoundRect(0.04, 0.08, 0.96, 0.92, 0.12), kDark);
             c.Fill(Polygon({{0.18, 0.3}, {0.46, 0.5}, {0.18, 0.7}, {0.18, 0.6}, {0.33, 0.5}, {0.18, 0.4}}), {90, 220, 110});
             c.Fill(Rect(0.5, 0.62, 0.8, 0.7), {90, 220, 110});
             c.Fill(Circle(0.82, 0.22, 0.07), kAmber);
         }},
        {200, "OpenShow", [](Canvas& c) {
             Window(c, 0.06, 0.1, 0.8, 0.8, kBlue);
             c.Fill(Polygon({{0.52, 0.52}, {0.95, 0.52}, {0.95, 0.95}}), kGreen);
             c.Fill(Line(0.5, 0.97, 0.8, 0.67, 0.12), kGreen);
         }},
        {201, "OpenShowAll", [](Canvas& c) {
             Window(c, 0.3, 0.05, 0.96, 0.62, kGrey);
             Window(c, 0.04, 0.35, 0.7, 0.95, kBlue);
         }},
        {202, "MinimizeAll", [](Canvas& c) {
             Window(c, 0.2, 0.05, 0.9, 0.55, kGrey);
             c.Fill(Rect(0.1, 0.74, 0.9, 0.9), kBlue);
         }},
        {203, "Recording", [](Canvas& c) {
             c.Fill(Circle(0.5, 0.5, 0.42), kDark);
             c.Fill(Circle(0.5, 0.5, 0.3), kRed);
         }},
        {204, "Add", [](Canvas& c) {
             c.Fill(Rect(0.4, 0.1, 0.6, 0.9), kGreen);
             c.Fill(Rect(0.1, 0.4, 0.9, 0.6), kGreen);
         }},
        {205, "Setup", [](Canvas& c) { c.Fill(Gear(0.5, 0.5, 0.45, 8), kGrey); }},
        {206, "Enable", [](Canvas& c) {
             c.Fill(Line(0.12, 0.55, 0.4, 0.82, 0.16), kGreen);
             c.Fill(Line(0.4, 0.82, 0.9, 0.2, 0.16), kGreen);
         }},
        {207, "Remove", [](Canvas& c) {
             c.Fill(Line(0.15, 0.15, 0.85, 0.85, 0.18), kRed);
             c.Fill(Line(0.85, 0.15, 0.15, 0.85, 0.18), kRed);
         }},
        {208, "MoveUp", [](Canvas& c) { ArrowUp(c, kBlue); }},
        {209, "MoveDown", [](Canvas& c) { ArrowDown(c, kBlue); }},
        {210, "About", [](Canvas& c) {
             c.Fill(Circle(0.5, 0.5, 0.45), kBlue);
             c.Fill(Circle(0.5, 0.27, 0.08), kWhite);
             c.Fill(Rect(0.42, 0.42, 0.58, 0.8), kWhite);
         }},
        {220, "Connected", [](Canvas& c) {
             c.Fill(Rect(0.05, 0.42, 0.95, 0.58), kGreen);
             c.Fill(RoundRect(0.2, 0.25, 0.48, 0.75, 0.05), kDark);
             c.Fill(RoundRect(0.52, 0.25, 0.8, 0.75, 0.05), kDark);
         }},
        {222, "Idle", [](Canvas& c) {
             c.Fill(Rect(0.02, 0.42, 0.3, 0.58), kGrey);
             c.Fill(Rect(0.7, 0.42, 0.98, 0.58), kGrey);
             c.Fill(RoundRect(0.14, 0.25, 0.4, 0.75, 0.05), kGrey);
             c.Fill(RoundRect(0.6, 0.25, 0.86, 0.75, 0.05), kGrey);
         }},
        {225, "ConsoleSetup", [](Canvas& c) {
             Window(c, 0.04, 0.04, 0.8, 0.8, kBlue);
             c.Fill(Gear(0.7, 0.7, 0.28, 6), kOrange);
         }},
        {242, "Abort", [](Canvas& c) {
             std::vector<std::pair<double, double>> pts;
             for (int i = 0; i < 8; ++i) {
                 const double a = (i + 0.5) * 3.14159265 / 4;
                 pts.push_back({0.5 + 0.45 * std::cos(a), 0.5 + 0.45 * std::sin(a)});
             }
             c.Fill(Polygon(pts), kRed);
             c.Fill(Rect(0.25, 0.44, 0.75, 0.56), kWhite);
         }},
        {243, "PortBusyStatus", [](Canvas& c) {
             c.Fill(Polygon({{0.2, 0.08}, {0.8, 0.08}, {0.5, 0.5}}), kAmber);
             c.Fill(Polygon({{0.5, 0.5}, {0.8, 0.92}, {0.2, 0.92}}), kAmber);
             c.Fill(Rect(0.14, 0.04, 0.86, 0.1), kDark);
             c.Fill(Rect(0.14, 0.9, 0.86, 0.96), kDark);
         }},
        {260, "TcpIp", [](Canvas& c) {
             c.Fill(Circle(0.5, 0.5, 0.44), kBlue);
             c.Fill(Ring(0.5, 0.5, 0.44, 0.06), kDark);
             c.Fill(Rect(0.06, 0.47, 0.94, 0.53), kLight);
             c.Fill(Line(0.5, 0.06, 0.5, 0.94, 0.06), kLight);
             c.Fill(Ring(0.5, 0.5, 0.25, 0.05), kLight);
         }},
        {261, "PortMissing", [](Canvas& c) {
             Connector(c, kGrey);
             c.Fill(Line(0.1, 0.9, 0.9, 0.1, 0.12), kRed);
         }},
        {262, "Serial", [](Canvas& c) { Connector(c, kDark); }},
        {263, "PortOk", [](Canvas& c) {
             Connector(c, kDark);
             c.Fill(Circle(0.8, 0.8, 0.17), kGreen);
         }},
        {264, "PortBusy", [](Canvas& c) {
             Connector(c, kDark);
             c.Fill(Circle(0.8, 0.8, 0.17), kAmber);
         }},
        {265, "ConsoleOpen", [](Canvas& c) { Window(c, 0.05, 0.1, 0.95, 0.9, kGreen); }},
        {266, "ConsoleDisabled", [](Canvas& c) {
             Window(c, 0.05, 0.1, 0.95, 0.9, kGrey);
             c.Fill(Rect(0.3, 0.47, 0.7, 0.58), kGrey);
         }},
        {267, "ConsoleUnavailable", [](Canvas& c) {
             Window(c, 0.05, 0.1, 0.95, 0.9, kRed);
             c.Fill(Line(0.35, 0.4, 0.65, 0.75, 0.1), kRed);
             c.Fill(Line(0.65, 0.4, 0.35, 0.75, 0.1), kRed);
         }},
        {268, "ConsoleReady", [](Canvas& c) {
             Window(c, 0.05, 0.1, 0.95, 0.9, kBlue);
             c.Fill(Polygon({{0.4, 0.38}, {0.68, 0.56}, {0.4, 0.74}}), kBlue);
         }},
        {269, "StatusDisabled", [](Canvas& c) {
             c.Fill(Circle(0.5, 0.5, 0.4), kGrey);
             c.Fill(Rect(0.25, 0.44, 0.75, 0.56), kWhite);
         }},
        {270, "StatusReady", [](Canvas& c) { c.Fill(Circle(0.5, 0.5, 0.38), kGreen); }},
        {271, "StatusBad", [](Canvas& c) {
             c.Fill(RoundRect(0.1, 0.1, 0.9, 0.9, 0.1), kRed);
             c.Fill(Line(0.3, 0.3, 0.7, 0.7, 0.1), kWhite);
             c.Fill(Line(0.7, 0.3, 0.3, 0.7, 0.1), kWhite);
         }},
        {131, "Console", [](Canvas& c) {
             c.Fill(RoundRect(0.04, 0.08, 0.96, 0.92, 0.12), {20, 60, 120});
             c.Fill(Polygon({{0.18, 0.3}, {0.46, 0.5}, {0.18, 0.7}, {0.18, 0.6}, {0.33, 0.5}, {0.18, 0.4}}), kWhite);
             c.Fill(Rect(0.5, 0.62, 0.8, 0.7), kWhite);
         }},
        {221, "Disconnecting", [](Canvas& c) {
             c.Fill(Rect(0.02, 0.42, 0.3, 0.58), kAmber);
             c.Fill(Rect(0.7, 0.42, 0.98, 0.58), kAmber);
             c.Fill(RoundRect(0.12, 0.25, 0.38, 0.75, 0.05), kDark);
             c.Fill(RoundRect(0.62, 0.25, 0.88, 0.75, 0.05), kDark);
             c.Fill(Line(0.5, 0.15, 0.5, 0.85, 0.06), kRed);
         }},
        {223, "Connecting", [](Canvas& c) {
             c.Fill(Rect(0.02, 0.42, 0.98, 0.58), kAmber);
             c.Fill(RoundRect(0.16, 0.25, 0.44, 0.75, 0.05), kDark);
             c.Fill(RoundRect(0.56, 0.25, 0.84, 0.75, 0.05), kDark);
         }},
        {224, "AltMode", [](Canvas& c) {
             c.Fill(Polygon({{0.05, 0.3}, {0.3, 0.08}, {0.3, 0.22}, {0.9, 0.22}, {0.9, 0.38}, {0.3, 0.38}, {0.3, 0.52}}), kBlue);
             c.Fill(Polygon({{0.95, 0.7}, {0.7, 0.48}, {0.7, 0.62}, {0.1, 0.62}, {0.1, 0.78}, {0.7, 0.78}, {0.7, 0.92}}), kOrange);
         }},
        {227, "EraseLog", [](Canvas& c) {
             c.Fill(Rect(0.1, 0.05, 0.7, 0.8), kLight);
             for (int i = 0; i < 4; ++i)
                 c.Fill(Rect(0.18, 0.15 + i * 0.14, 0.62, 0.2 + i * 0.14), kGrey);
             c.Fill(Polygon({{0.45, 0.75}, {0.75, 0.45}, {0.98, 0.68}, {0.68, 0.98}}), {240, 120, 160});
         }},
        {228, "Follow", [](Canvas& c) {
             ArrowDown(c, kGreen);
             c.Fill(Rect(0.1, 0.92, 0.9, 0.98), kDark);
         }},
        {229, "Pin", [](Canvas& c) {
             c.Fill(Circle(0.6, 0.35, 0.27), kRed);
             c.Fill(Line(0.45, 0.5, 0.1, 0.92, 0.08), kDark);
         }},
        {230, "RecordingEnable", [](Canvas& c) {
             c.Fill(Ring(0.5, 0.5, 0.46, 0.08), kRed);
             c.Fill(Circle(0.5, 0.5, 0.26), kRed);
         }},
        {231, "Reset", [](Canvas& c) {
             c.Fill([](double x, double y) {
                 const double dx = x - 0.5, dy = y - 0.55, d = std::sqrt(dx * dx + dy * dy);
                 return d <= 0.4 && d >= 0.26 && !(dy < 0 && std::fabs(dx) < 0.12);
             }, kRed);
             c.Fill(Rect(0.44, 0.05, 0.56, 0.5), kDark);
         }},
        {232, "FirmwareCheck", [](Canvas& c) {
             c.Fill(Rect(0.2, 0.2, 0.8, 0.8), kDark);
             for (int i = 0; i < 3; ++i) {
                 c.Fill(Rect(0.05, 0.3 + i * 0.18, 0.2, 0.36 + i * 0.18), kGrey);
                 c.Fill(Rect(0.8, 0.3 + i * 0.18, 0.95, 0.36 + i * 0.18), kGrey);
             }
             c.Fill(Line(0.3, 0.5, 0.45, 0.65, 0.1), kGreen);
             c.Fill(Line(0.45, 0.65, 0.72, 0.32, 0.1), kGreen);
         }},
        {233, "FirmwareUpdate", [](Canvas& c) {
             c.Fill(Rect(0.2, 0.2, 0.8, 0.8), kDark);
             for (int i = 0; i < 3; ++i) {
                 c.Fill(Rect(0.05, 0.3 + i * 0.18, 0.2, 0.36 + i * 0.18), kGrey);
                 c.Fill(Rect(0.8, 0.3 + i * 0.18, 0.95, 0.36 + i * 0.18), kGrey);
             }
             c.Fill(Polygon({{0.5, 0.28}, {0.7, 0.5}, {0.58, 0.5}, {0.58, 0.72}, {0.42, 0.72}, {0.42, 0.5}, {0.3, 0.5}}), kAmber);
         }},
        {240, "DeleteCommand", [](Canvas& c) {
             c.Fill(Rect(0.05, 0.4, 0.6, 0.6), kGrey);
             c.Fill(Line(0.6, 0.3, 0.95, 0.7, 0.12), kRed);
             c.Fill(Line(0.95, 0.3, 0.6, 0.7, 0.12), kRed);
         }},
        {241, "Send", [](Canvas& c) {
             c.Fill(Polygon({{0.05, 0.45}, {0.95, 0.1}, {0.6, 0.92}, {0.45, 0.58}}), kGreen);
             c.Fill(Polygon({{0.45, 0.58}, {0.95, 0.1}, {0.5, 0.8}}), {30, 110, 45});
         }},
        {244, "ImportCommands", [](Canvas& c) {
             c.Fill(Rect(0.1, 0.62, 0.9, 0.92), kGrey);
             c.Fill(Rect(0.2, 0.62, 0.8, 0.8), kLight);
             c.Fill(Polygon({{0.5, 0.78}, {0.8, 0.45}, {0.62, 0.45}, {0.62, 0.06}, {0.38, 0.06}, {0.38, 0.45}, {0.2, 0.45}}), kGreen);
         }},
        {245, "ExportCommands", [](Canvas& c) {
             c.Fill(Rect(0.1, 0.62, 0.9, 0.92), kGrey);
             c.Fill(Rect(0.2, 0.62, 0.8, 0.8), kLight);
             c.Fill(Polygon({{0.5, 0.04}, {0.8, 0.38}, {0.62, 0.38}, {0.62, 0.75}, {0.38, 0.75}, {0.38, 0.38}, {0.2, 0.38}}), kBlue);
         }},
        {250, "BatchFolder", [](Canvas& c) {
             c.Fill(Polygon({{0.05, 0.2}, {0.4, 0.2}, {0.5, 0.3}, {0.95, 0.3}, {0.95, 0.85}, {0.05, 0.85}}), kAmber);
             c.Fill(Rect(0.05, 0.4, 0.95, 0.85), {245, 200, 80});
         }},
        {251, "BatchEditor", [](Canvas& c) {
             c.Fill(Line(0.2, 0.8, 0.8, 0.2, 0.2), kOrange);
             c.Fill(Polygon({{0.1, 0.9}, {0.13, 0.72}, {0.28, 0.87}}), kDark);
         }},
        {252, "EditBatch", [](Canvas& c) {
             c.Fill(Rect(0.1, 0.05, 0.75, 0.95), kLight);
             c.Fill(Rect(0.1, 0.05, 0.75, 0.1), kGrey);
             c.Fill(Line(0.4, 0.85, 0.9, 0.35, 0.14), kOrange);
         }},
        {253, "RunBatch", [](Canvas& c) { c.Fill(Polygon({{0.2, 0.1}, {0.88, 0.5}, {0.2, 0.9}}), kGreen); }},
        {254, "IgnoreErrors", [](Canvas& c) {
             c.Fill(Polygon({{0.5, 0.08}, {0.94, 0.88}, {0.06, 0.88}}), kAmber);
             c.Fill(Line(0.1, 0.1, 0.9, 0.9, 0.1), kDark);
         }},
        {273, "Suppress", [](Canvas& c) {
             Window(c, 0.05, 0.1, 0.95, 0.9, kGrey);
             c.Fill(Line(0.15, 0.85, 0.85, 0.2, 0.1), kRed);
         }},
        {274, "CopyVisible", [](Canvas& c) {
             c.Fill(Rect(0.05, 0.05, 0.6, 0.7), kGrey);
             c.Fill(Rect(0.35, 0.3, 0.92, 0.95), kDark);
             c.Fill(Rect(0.4, 0.35, 0.87, 0.9), kLight);
         }},
        {275, "CopyWhole", [](Canvas& c) {
             c.Fill(Rect(0.05, 0.05, 0.6, 0.7), kGrey);
             c.Fill(Rect(0.35, 0.3, 0.92, 0.95), kDark);
             c.Fill(Rect(0.4, 0.35, 0.87, 0.9), kLight);
             for (int i = 0; i < 4; ++i)
                 c.Fill(Rect(0.45, 0.42 + i * 0.12, 0.82, 0.46 + i * 0.12), kBlue);
         }},
        {272, "ListFont", [](Canvas& c) {
             c.Fill(Polygon({{0.42, 0.08}, {0.58, 0.08}, {0.92, 0.92}, {0.74, 0.92}, {0.5, 0.3}, {0.26, 0.92}, {0.08, 0.92}}), kDark);
             c.Fill(Rect(0.3, 0.6, 0.7, 0.72), kDark);
         }},
    };
}

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

// One icon image: BITMAPINFOHEADER, bottom-up BGRA, then the AND mask.
std::vector<uint8_t> ImageData(const Canvas& c)
{
    const int n = c.Size();
    const int maskStride = ((n + 31) / 32) * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(n));
    Put32(out, static_cast<uint32_t>(2 * n));
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(n * n * 4 + maskStride * n));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (int y = n - 1; y >= 0; --y)
        for (int x = 0; x < n; ++x) {
            const Rgba p = c.Pixels()[static_cast<size_t>(y * n + x)];
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            out.push_back(p.a);
        }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(maskStride), 0);
        for (int x = 0; x < n; ++x)
            if (c.Pixels()[static_cast<size_t>(y * n + x)].a == 0)
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

bool WriteIcon(const std::string& path, const IconDef& def)
{
    const int sizes[] = {16, 24, 32, 48};
    std::vector<std::vector<uint8_t>> images;
    for (int s : sizes) {
        Canvas c(s);
        def.draw(c);
        images.push_back(ImageData(c));
    }
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<uint16_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<uint8_t>(sizes[i]));
        out.push_back(static_cast<uint8_t>(sizes[i]));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& img : images)
        out.insert(out.end(), img.begin(), img.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: iconmaker <output folder>\n");
        return 2;
    }
    int failures = 0;
    for (const IconDef& def : Icons()) {
        const std::string path = std::string(argv[1]) + "/" + std::to_string(def.id) + "_" + def.name + ".ico";
        if (!WriteIcon(path, def)) {
            std::fprintf(stderr, "iconmaker: cannot write %s\n", path.c_str());
            ++failures;
        } else {
            std::printf("%s\n", path.c_str());
        }
    }
    return failures == 0 ? 0 : 1;
}
