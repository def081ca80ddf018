// Chip family: bridges (58..68) and broken bridges (69..79) in their eleven joining
// variants, the landing stage (80) and stairs (81 rising toward y-1, 82 toward x-1).
#include "content/chipart.h"

#include <cmath>

namespace quarvel::chipart {

namespace {

// The sides a bridge variant joins: x-1, y-1, x+1, y+1.
struct Joins {
    bool XMinus, YMinus, XPlus, YPlus;
};
Joins BridgeJoins(int variant) {
    switch (variant) {
    case 1:
        return {true, false, true, false};
    case 2:
        return {true, true, true, true};
    case 3:
        return {false, false, true, true};
    case 4:
        return {false, true, true, false};
    case 5:
        return {true, true, false, false};
    case 6:
        return {true, false, false, true};
    case 7:
        return {false, true, true, true};
    case 8:
        return {true, true, true, false};
    case 9:
        return {true, true, false, true};
    case 10:
        return {true, false, true, true};
    default:
        return {false, true, false, true};
    }
}

constexpr double DeckTop = 1.0, DeckBottom = 0.84, Half = 0.3, Rail = 0.05;

// Lays planks over [u0, u1] x [v0, v1]; they run across `alongX` (the walking direction).
// Broken planks go missing or sag.
void Planks(ChipScene& scene, double u0, double u1, double v0, double v1, bool alongX, bool broken,
            int seed) {
    const double a0 = alongX ? u0 : v0, a1 = alongX ? u1 : v1;
    const int n = std::max(1, int(std::round((a1 - a0) * 9)));
    const double step = (a1 - a0) / n;
    for (int i = 0; i < n; ++i) {
        double p0 = a0 + i * step + 0.012, p1 = a0 + (i + 1) * step - 0.012;
        double top = DeckTop, bottom = DeckBottom;
        double c0 = alongX ? v0 : u0, c1 = alongX ? v1 : u1;
        if (broken) {
            const double h = Hash(seed, i, 121);
            if (h < 0.3) continue;                    // missing
            if (h < 0.5) top -= 0.12, bottom -= 0.12; // sagging
            if (h > 0.85) c1 = c0 + (c1 - c0) * 0.55; // snapped short
        }
        const double tone = (Hash(seed, i, 122) - 0.5) * 1.6 - (broken ? 1.2 : 0);
        const Shader wood = [tone](const SurfacePoint& p) {
            return Paint{Ramp::Wood, tone + (p.Edge < 0.012 ? -1 : 0)};
        };
        const int id = alongX ? scene.Box(p0, p1, c0, c1, bottom, top, wood)
                              : scene.Box(c0, c1, p0, p1, bottom, top, wood);
        scene.SetOutline(id, false);
    }
}

void Bridge(ChipScene& scene, int variant, bool broken) {
    const Joins j = BridgeJoins(variant);
    const double lo = ChipScene::CellLo, hi = ChipScene::CellHi;
    const double c0 = 0.5 - Half, c1 = 0.5 + Half;
    // Beams under the deck along each joined side, and a pier under the middle.
    const Shader beam = Flat(Ramp::Wood, broken ? -2.2 : -1.2);
    const bool alongX = j.XMinus || j.XPlus;
    Planks(scene, c0, c1, c0, c1, alongX && !(j.YMinus && j.YPlus && !j.XPlus), broken, 1);
    if (j.XMinus) Planks(scene, lo, c0, c0, c1, true, broken, 2);
    if (j.XPlus) Planks(scene, c1, hi, c0, c1, true, broken, 3);
    if (j.YMinus) Planks(scene, c0, c1, lo, c0, false, broken, 4);
    if (j.YPlus) Planks(scene, c0, c1, c1, hi, false, broken, 5);
    if (j.XMinus || j.XPlus) {
        const double a0 = j.XMinus ? lo : c0, a1 = j.XPlus ? hi : c1;
        scene.Box(a0, a1, c0 + 0.02, c0 + 0.08, 0.7, DeckBottom, beam);
        scene.Box(a0, a1, c1 - 0.08, c1 - 0.02, 0.7, DeckBottom, beam);
    }
    if (j.YMinus || j.YPlus) {
        const double a0 = j.YMinus ? lo : c0, a1 = j.YPlus ? hi : c1;
        scene.Box(c0 + 0.02, c0 + 0.08, a0, a1, 0.7, DeckBottom, beam);
        scene.Box(c1 - 0.08, c1 - 0.02, a0, a1, 0.7, DeckBottom, beam);
    }
    scene.Frustum(0.5, 0.5, 0, 0.7, 0.08, 0.08, beam);
    // Low rails along both edges of every run and across the sides that join nothing.
    const Shader railWood = Flat(Ramp::Wood, broken ? -0.8 : 0.6);
    int seed = 0;
    auto rail = [&](double u0, double u1, double v0, double v1) {
        if (broken && Hash(seed++, variant, 123) < 0.45) return;
        scene.Box(u0, u1, v0, v1, DeckTop, DeckTop + 0.14, railWood);
    };
    const double x0 = j.XMinus ? lo : c0, x1 = j.XPlus ? hi : c1;
    const double y0 = j.YMinus ? lo : c0, y1 = j.YPlus ? hi : c1;
    // rails along x (at v = c0 and v = c1), broken where a y run leaves the square
    rail(x0, j.YMinus ? c0 : x1, c0, c0 + Rail);
    if (j.YMinus) rail(c1, x1, c0, c0 + Rail);
    rail(x0, j.YPlus ? c0 : x1, c1 - Rail, c1);
    if (j.YPlus) rail(c1, x1, c1 - Rail, c1);
    // rails along y (at u = c0 and u = c1), broken where an x run leaves the square
    rail(c0, c0 + Rail, y0, j.XMinus ? c0 : y1);
    if (j.XMinus) rail(c0, c0 + Rail, c1, y1);
    rail(c1 - Rail, c1, y0, j.XPlus ? c0 : y1);
    if (j.XPlus) rail(c1 - Rail, c1, c1, y1);
}

// The landing stage: a plank square on four piles.
void Landing(ChipScene& scene) {
    const double lo = ChipScene::CellLo, hi = ChipScene::CellHi;
    for (double u : {0.12, 0.88})
        for (double v : {0.12, 0.88})
            scene.Frustum(u, v, 0, DeckBottom, 0.06, 0.06, Flat(Ramp::Wood, -1.5));
    Planks(scene, lo, hi, lo, hi, true, false, 9);
}

// Four stone steps rising toward y-1 (toward x-1 when `towardX`).
void Stairs(ChipScene& scene, bool towardX) {
    const double lo = ChipScene::CellLo, hi = ChipScene::CellHi;
    for (int i = 0; i < 4; ++i) {
        const double back = hi - i * 0.25;
        const double top = (i + 1) * 0.25;
        const Shader stone = [](const SurfacePoint& p) {
            if (OnTop(p)) return Paint{Ramp::Stone, p.Edge < 0.03 ? 1.4 : 0.2};
            return Paint{Ramp::Stone, -0.6 + 0.3 * Cells(p.U, p.V + p.W, 12, 131)};
        };
        const int id = towardX ? scene.Box(lo, back, 0.08, 0.92, 0, top, stone)
                               : scene.Box(0.08, 0.92, lo, back, 0, top, stone);
        scene.SetOutline(id, false);
    }
    // Side walls of the flight.
    for (double c : {0.02, 0.92}) {
        const std::vector<ChipScene::Plane> wedge =
            towardX ? std::vector<ChipScene::Plane>{{1, 0, 1, 1 + 1.0 / 64 + 0.1},
                                                    {1, 0, 0, hi},
                                                    {-1, 0, 0, -lo},
                                                    {0, 1, 0, c + 0.08},
                                                    {0, -1, 0, -c},
                                                    {0, 0, -1, 0}}
                    : std::vector<ChipScene::Plane>{
                          {0, 1, 1, 1 + 1.0 / 64 + 0.1}, {0, 1, 0, hi},  {0, -1, 0, -lo},
                          {1, 0, 0, c + 0.08},           {-1, 0, 0, -c}, {0, 0, -1, 0}};
        scene.Convex(wedge, Flat(Ramp::Stone, -1.2));
    }
}

} // namespace

void DrawBridges(int chip, const Target& t) {
    ChipScene scene;
    if (chip <= 68)
        Bridge(scene, chip - 58, false);
    else if (chip <= 79)
        Bridge(scene, chip - 69, true);
    else if (chip == 80)
        Landing(scene);
    else
        Stairs(scene, chip == 82);
    scene.Render(t.Out, t.Scale);
}

} // namespace quarvel::chipart
