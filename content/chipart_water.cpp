// Chip family: fields (25..28), river (83..110) and rock (111).
#include "content/chipart.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quarvel::chipart {

namespace {

// A field: a ploughed box (it stands in for the ground under it in the whole-map view) with
// rows of crops in the country's colour.
void Field(ChipScene& scene, int country) {
    const double lo = ChipScene::CellLo, hi = ChipScene::CellHi;
    const int box = scene.Box(lo, hi, lo, hi, 0, 1, [](const SurfacePoint& p) {
        if (OnTop(p)) {
            const double f = Frac(p.V * 5);
            return Paint{Ramp::Earth, (f < 0.45 ? 0.3 : -1.6) + 0.3 * Cells(p.U, p.V, 16, 51)};
        }
        const double along = OnLeft(p) ? p.U : p.V;
        if (p.W > 0.86) return Paint{Ramp::Earth, 0.5};
        return Paint{Ramp::Earth, -0.8 + 0.5 * Cells(along, p.W, 8, 52)};
    });
    scene.SetOutline(box, false);
    const Ramp crop = CountryRamp(country);
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 4; ++col) {
            const double v = 0.1 + row * 0.2, u = 0.14 + col * 0.24;
            const int leaf = scene.Ellipsoid(u, v, 1.03, 0.085, 0.07, 0.16, Flat(Ramp::Foliage, 0));
            const int fruit = scene.Ellipsoid(u, v, 1.16, 0.06, 0.055, 0.2, Flat(crop, 0.8));
            scene.SetGroup(fruit, leaf);
        }
    }
}

// Banks of a river variant: which of x-1, y-1 and the corner between them are banks.
struct Banks {
    bool X, Y, Corner;
};
Banks RiverBanks(int variant) {
    switch (variant) {
    case 1:
        return {true, false, true};
    case 2:
        return {false, true, true};
    case 3:
        return {true, true, true};
    case 4:
        return {false, false, true};
    case 5:
        return {true, false, false};
    case 6:
        return {false, true, false};
    default:
        return {false, false, false};
    }
}

// Water running along its banks: foam at the bank, ripples parallel to it.
void River(ChipScene& scene, int variant) {
    const Banks b = RiverBanks(variant);
    const double lo = ChipScene::CellLo, hi = ChipScene::CellHi;
    const int box = scene.Box(lo, hi, lo, hi, 0, 0.88, [b](const SurfacePoint& p) {
        if (!OnTop(p)) {
            double d = -1.2 - (0.88 - p.W) * 2.0;
            if (p.W > 0.8) d += 1.5;
            return Paint{Ramp::Water, d};
        }
        const double u = p.U - ChipScene::CellLo, v = p.V - ChipScene::CellLo;
        double dist = 9;
        if (b.X) dist = std::min(dist, u);
        if (b.Y) dist = std::min(dist, v);
        if (b.Corner) dist = std::min(dist, std::hypot(u, v));
        double wave;
        if (dist < 9) {
            if (dist < 0.05) return Paint{Ramp::Earth, 3, true}; // wet foot of the bank
            if (dist < 0.11) return Paint{Ramp::Water, 11, true};
            if (dist < 0.16) return Paint{Ramp::Water, 9, true};
            wave = dist * 4.5 + 0.08 * Cells(p.U, p.V, 6, 61);
        } else {
            // open water: waves across the flow, running along y
            wave = p.V * 4 + 0.12 * std::sin(p.U * 9);
        }
        const double f = Frac(wave);
        double d = -1.3 + 0.3 * Cells(p.U, p.V, 10, 62);
        if (f < 0.1 && Cells(p.U * 0.5, p.V * 0.5, 8, 63) > -0.5)
            d += 2.2;
        else if (f < 0.2)
            d += 0.8;
        return Paint{Ramp::Water, d};
    });
    scene.SetOutline(box, false);
}

// A boulder: a convex solid of uneven facets around a flattened ball.
void Rock(ChipScene& scene) {
    const double cu = 0.5, cv = 0.52, cz = 0.23, r = 0.46;
    std::vector<ChipScene::Plane> planes;
    const int rings[3] = {6, 7, 5};
    const double heights[3] = {-0.05, 0.45, 0.85};
    for (int ring = 0; ring < 3; ++ring) {
        for (int i = 0; i < rings[ring]; ++i) {
            const double a = (i + 0.37 * ring + 0.3 * Hash(ring, i, 72)) * 6.2832 / rings[ring];
            const double e = heights[ring];
            const double nx = std::cos(a) * std::sqrt(1 - e * e);
            const double ny = std::sin(a) * std::sqrt(1 - e * e);
            const double nz = e;
            const double off = r * (0.88 + 0.2 * Hash(ring, i, 73));
            // n . ((u, v, w / 2) - c) <= off
            planes.push_back({nx, ny, nz / 2, off + nx * cu + ny * cv + nz * cz});
        }
    }
    planes.push_back({0, 0, 1, 2 * (cz + r * 0.95)}); // flat top
    planes.push_back({0, 0, -1, 0});                  // resting on the floor
    scene.Convex(planes, [](const SurfacePoint& p) {
        double d = 0.4 * Cells(p.U + p.W * 0.3, p.V, 10, 71) - 1.0;
        if (p.Edge < 0.02) d += 1; // worn edges catch the light
        return Paint{Ramp::Stone, d};
    });
}

} // namespace

void DrawWater(int chip, const Target& t) {
    ChipScene scene;
    if (chip >= 25 && chip <= 28)
        Field(scene, chip - 25);
    else if (chip >= 83 && chip <= 110)
        River(scene, (chip - 83) / 4);
    else
        Rock(scene);
    scene.Render(t.Out, t.Scale);
}

} // namespace quarvel::chipart
