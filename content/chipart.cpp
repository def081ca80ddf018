// Helpers shared by the chip families: noise, ground boxes, objects that span levels and
// 2D touches.
#include "content/chipart.h"

#include <algorithm>
#include <cmath>

namespace quarvel::chipart {

double Hash(int a, int b, int c) {
    uint32_t h = uint32_t(a) * 374761393u + uint32_t(b) * 668265263u + uint32_t(c) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xFFFFFF) / double(0x1000000);
}

double Cells(double u, double v, double cells, int seed) {
    return Hash(int(std::floor(u * cells)), int(std::floor(v * cells)), seed) * 2 - 1;
}

double Frac(double x) {
    return x - std::floor(x);
}

double Rims::At(double u, double v) const {
    double d = 1e9;
    if (X) d = std::min(d, u - ChipScene::CellLo);
    if (Y) d = std::min(d, v - ChipScene::CellLo);
    if (d < Px * 1.1) return 3;
    if (d < Px * 2.1) return 1.2;
    return 0;
}

int GroundBox(ChipScene& scene, Rims rims, Ramp topRamp, Shader top, bool lip) {
    const double lo = ChipScene::CellLo, hi = ChipScene::CellHi;
    auto shade = [rims, topRamp, top, lip](const SurfacePoint& p) -> Paint {
        if (OnTop(p)) {
            // Texture from inside the cell only: the edge pixels that reach a little past
            // it must not pick up the neighbouring texture square, or every cell shows a
            // seam.
            SurfacePoint inside = p;
            inside.U = std::clamp(p.U, 0.0, 0.999);
            inside.V = std::clamp(p.V, 0.0, 0.999);
            Paint paint = top(inside);
            if (paint.Fixed < 0) paint.Delta += rims.At(p.U, p.V);
            return paint;
        }
        // Sides: a ragged lip of the top's colour, then earth in layers.
        const double along = OnLeft(p) ? p.U : p.V;
        const double lipDepth = 0.18 + 0.08 * Cells(along, 0, 16, 7);
        if (lip && p.W > 1 - lipDepth) return {topRamp, -1.0};
        const double layer =
            Cells(along, p.W, 8, 3) * 0.5 + (Frac(p.W * 3 + 0.2) < 0.12 ? -0.8 : 0);
        return {Ramp::Earth, -0.5 + layer};
    };
    const int id = scene.Box(lo, hi, lo, hi, 0, 1, shade);
    scene.SetOutline(id, false);
    return id;
}

Paint Masonry(const SurfacePoint& p, Ramp ramp, double bias) {
    if (OnTop(p)) { // flagstones
        const double fu = Frac(p.U * 3 + 0.02), fv = Frac(p.V * 3 + 0.02);
        if (fu < 0.06 || fv < 0.06) return {ramp, bias - 2.5};
        return {ramp, bias - 0.3 + 0.6 * (Hash(int(p.U * 3 + 5), int(p.V * 3 + 5), 6) - 0.5)};
    }
    double along;
    if (OnLeft(p))
        along = p.U;
    else if (OnRight(p))
        along = p.V;
    else
        along = std::atan2(p.V - 0.5, p.U - 0.5) * 0.5;
    const double course = p.W * 3;
    const int row = int(std::floor(course));
    const double shifted = along * 3 + (row % 2) * 0.5;
    if (Frac(course) < 0.16 || Frac(shifted) < 0.07) return {ramp, bias - 2.5};
    return {ramp, bias + 0.6 * (Hash(int(std::floor(shifted)), row, 5) - 0.5)};
}

void RenderLevel(const ChipScene& scene, const Target& t, int level, int levels) {
    const double lo = level == 0 ? -ChipScene::Inf : level;
    const double hi = level == levels - 1 ? ChipScene::Inf : level + 1;
    scene.Render(t.Out, t.Scale, level, lo, hi);
}

void Dot(const Target& t, double x, double y, uint8_t index, int size) {
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    for (int dy = 0; dy < size; ++dy) {
        for (int dx = 0; dx < size; ++dx) {
            const int px = x0 + dx, py = y0 + dy;
            if (px >= 0 && py >= 0 && px < t.Out.Width() && py < t.Out.Height())
                t.Out.Row(py)[px] = index;
        }
    }
}

void Line(const Target& t, double x0, double y0, double x1, double y1, uint8_t index) {
    const int steps = int(std::ceil(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0)))) + 1;
    for (int i = 0; i <= steps; ++i) {
        const double f = double(i) / steps;
        Dot(t, x0 + (x1 - x0) * f, y0 + (y1 - y0) * f, index);
    }
}

} // namespace quarvel::chipart
