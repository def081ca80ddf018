// Chip family: trees (33..35 broadleaf, 36..38 conifer; three levels), the stump (39),
// grass (53) and small things (54 flowers, 55 barrel, 56 crate, 57 signpost).
#include "content/chipart.h"

#include <cmath>

namespace quarvel::chipart {

namespace {

Paint Bark(const SurfacePoint& p) {
    const double a = std::atan2(p.NY, p.NX);
    return {Ramp::Wood, -1.0 + (Frac(a * 1.6 + p.W * 0.3) < 0.3 ? -1.2 : 0.2)};
}

// Leaves: clumps of light and shadow; in the snow set the upward faces carry snow.
Shader Leaves(int terrain) {
    return [terrain](const SurfacePoint& p) {
        if (terrain == 2 && p.NZ > 0.55 && Cells(p.U, p.V + p.W, 14, 81) > -0.4)
            return Paint{Ramp::Grey, 10.5, true};
        double d = -0.4 + 0.7 * Cells(p.U + p.W * 0.2, p.V - p.W * 0.2, 12, 82);
        if (Hash(int(p.U * 30), int(p.V * 30 + p.W * 20), 83) > 0.86) d -= 1.8;
        return Paint{Ramp::Foliage, d};
    };
}

// A broadleaf tree three levels tall: trunk through the two lower levels, crown above.
void Broadleaf(ChipScene& scene, int terrain) {
    scene.Frustum(0.5, 0.5, 0, 1.9, 0.1, 0.065, Bark);
    const Shader leaves = Leaves(terrain);
    const int crown = scene.Ellipsoid(0.5, 0.5, 2.15, 0.38, 0.38, 0.78, leaves);
    const double blobs[4][5] = {{0.3, 0.58, 1.75, 0.24, 0.5},
                                {0.62, 0.3, 1.8, 0.25, 0.5},
                                {0.66, 0.66, 1.95, 0.22, 0.46},
                                {0.42, 0.4, 2.55, 0.24, 0.46}};
    for (const auto& b : blobs)
        scene.SetGroup(scene.Ellipsoid(b[0], b[1], b[2], b[3], b[3], b[4], leaves), crown);
}

// A conifer three levels tall: three cones of needles on a short trunk.
void Conifer(ChipScene& scene, int terrain) {
    scene.Frustum(0.5, 0.5, 0, 0.9, 0.08, 0.06, Bark);
    const Shader leaves = Leaves(terrain);
    const double tiers[3][3] = {{0.55, 1.55, 0.42}, {1.2, 2.25, 0.34}, {1.85, 2.95, 0.25}};
    // Each tier is outlined against the one below it, so the tiers read apart.
    for (const auto& tier : tiers) {
        scene.Frustum(0.5, 0.5, tier[0], tier[1], tier[2], 0, [leaves](const SurfacePoint& p) {
            Paint paint = leaves(p);
            if (paint.Colour == Ramp::Foliage && Frac(p.W * 4) < 0.3) paint.Delta -= 1;
            return paint;
        });
    }
}

void Stump(ChipScene& scene) {
    scene.Frustum(0.5, 0.5, 0, 0.5, 0.22, 0.18, [](const SurfacePoint& p) {
        if (OnTop(p)) {
            const double r = std::hypot(p.U - 0.5, p.V - 0.5);
            return Paint{Ramp::Wood, 1.5 + (Frac(r * 22) < 0.3 ? -1.5 : 0)};
        }
        return Bark(p);
    });
    scene.Frustum(0.3, 0.62, 0, 0.12, 0.08, 0.03, Bark); // a root
    scene.Frustum(0.66, 0.34, 0, 0.1, 0.07, 0.03, Bark);
}

void Grass(ChipScene& scene) {
    for (int i = 0; i < 26; ++i) {
        const double a = i * 2.4, r = 0.05 + 0.32 * Hash(i, 1, 91);
        const double u = 0.5 + r * std::cos(a), v = 0.5 + r * std::sin(a);
        const double h = 0.45 + 0.5 * Hash(i, 2, 91);
        scene.Frustum(u, v, 0, h, 0.055, 0, Flat(i % 3 ? Ramp::Foliage : Ramp::GroundA, 0.5));
    }
}

void Flowers(ChipScene& scene) {
    const int bush = scene.Ellipsoid(0.5, 0.5, 0.35, 0.3, 0.3, 0.6, Flat(Ramp::Foliage, -0.3));
    static const Single colours[3] = {Single::FlowerRed, Single::FlowerYellow, Single::FlowerWhite};
    for (int i = 0; i < 7; ++i) {
        const double a = i * 2.1, r = 0.05 + 0.2 * Hash(i, 3, 92);
        const double top = 0.35 + 0.6 * std::sqrt(1 - (r / 0.3) * (r / 0.3));
        const int f = scene.Ellipsoid(
            0.5 + r * std::cos(a), 0.5 + r * std::sin(a), top, 0.07, 0.07, 0.12,
            [i](const SurfacePoint&) { return Paint::Index(SingleIndex(colours[i % 3])); });
        scene.SetGroup(f, bush);
    }
}

void Barrel(ChipScene& scene) {
    scene.Frustum(0.5, 0.5, 0, 0.9, 0.2, 0.2, [](const SurfacePoint& p) {
        if (OnTop(p)) return Paint{Ramp::Wood, Frac(p.U * 6) < 0.2 ? -1.5 : 0};
        if (std::fabs(p.W - 0.2) < 0.06 || std::fabs(p.W - 0.7) < 0.06)
            return Paint{Ramp::Metal, -0.5};
        const double a = std::atan2(p.NY, p.NX);
        return Paint{Ramp::Wood, Frac(a * 2.5) < 0.15 ? -1.5 : 0};
    });
}

void Crate(ChipScene& scene) {
    scene.Box(0.26, 0.74, 0.26, 0.74, 0, 0.9, [](const SurfacePoint& p) {
        if (p.Edge < 0.045) return Paint{Ramp::Wood, 1.2};
        const double along = OnTop(p) ? p.U : (OnLeft(p) ? p.U : p.V);
        return Paint{Ramp::Wood, Frac(along * 8) < 0.15 ? -1.8 : -0.3};
    });
}

void Signpost(ChipScene& scene) {
    scene.Box(0.46, 0.54, 0.46, 0.54, 0, 1.3, Flat(Ramp::Wood, -0.5));
    scene.Box(0.2, 0.8, 0.54, 0.58, 0.85, 1.2, [](const SurfacePoint& p) {
        if (OnLeft(p) && p.Edge > 0.04 && Frac(p.W * 8) < 0.35 && std::fabs(p.U - 0.5) < 0.2)
            return Paint{Ramp::Wood, -2.5};
        return Paint{Ramp::Wood, 0.5};
    });
}

} // namespace

void DrawPlants(int chip, const Target& t) {
    ChipScene scene;
    if (chip >= 33 && chip <= 38) {
        if (chip <= 35)
            Broadleaf(scene, t.Terrain);
        else
            Conifer(scene, t.Terrain);
        const int part = (chip - 33) % 3; // 0 top, 1 middle, 2 bottom
        RenderLevel(scene, t, 2 - part, 3);
        return;
    }
    switch (chip) {
    case 39:
        Stump(scene);
        break;
    case 53:
        Grass(scene);
        break;
    case 54:
        Flowers(scene);
        break;
    case 55:
        Barrel(scene);
        break;
    case 56:
        Crate(scene);
        break;
    default:
        Signpost(scene);
        break;
    }
    scene.Render(t.Out, t.Scale);
}

} // namespace quarvel::chipart
