// Chip family: bare ground (1..16), paving (17..24), nests (112..115), entrances (116..119)
// and elevators (120..123).
#include "content/chipart.h"

#include <algorithm>
#include <cmath>

namespace quarvel::chipart {

namespace {

// The top faces of the four ground groups: covered earth and three open styles.
Shader GroundTop(int group) {
    switch (group) {
    case 0: // covered: bare packed earth
        return [](const SurfacePoint& p) {
            return Paint{Ramp::Earth, -1.0 + 0.4 * Cells(p.U, p.V, 16, 1) +
                                          (Hash(int(p.U * 32), int(p.V * 32), 2) > 0.9 ? -1 : 0)};
        };
    case 1: // plain: grass, sand, snow, basalt
        return [](const SurfacePoint& p) {
            double d = -0.9 + 0.45 * Cells(p.U, p.V, 12, 11) + 0.3 * Cells(p.U, p.V, 32, 12);
            if (Hash(int(p.U * 32), int(p.V * 32), 13) > 0.92) d -= 1.6;
            return Paint{Ramp::GroundA, d};
        };
    case 2: // path: soil, sandstone, ice, ash with pebbles
        return [](const SurfacePoint& p) {
            double d = -0.7 + 0.4 * Cells(p.U, p.V, 10, 21);
            const double h = Hash(int(p.U * 24), int(p.V * 24), 22);
            if (h > 0.9)
                d += 1.6;
            else if (h < 0.06)
                d -= 1.4;
            return Paint{Ramp::GroundB, d};
        };
    default: // meadow with flowers
        return [](const SurfacePoint& p) {
            const double h = Hash(int(p.U * 20), int(p.V * 20), 31);
            if (h > 0.94) {
                static const Single flowers[4] = {Single::FlowerRed, Single::FlowerYellow,
                                                  Single::FlowerWhite, Single::FlowerBlue};
                return Paint::Index(SingleIndex(flowers[int(h * 1000) % 4]));
            }
            return Paint{Ramp::GroundC,
                         -0.7 + 0.4 * Cells(p.U, p.V, 14, 32) + 0.3 * Cells(p.U, p.V, 28, 33)};
        };
    }
}

// Square paving stones with dark joints; `bias` darkens covered paving.
Shader PavingTop(double bias) {
    return [bias](const SurfacePoint& p) {
        const double fu = Frac(p.U * 4 + 0.02), fv = Frac(p.V * 4 + 0.02);
        if (fu < 0.09 || fv < 0.09) return Paint{Ramp::Stone, bias - 3};
        const double tile =
            Hash(int(std::floor(p.U * 4 + 0.02)), int(std::floor(p.V * 4 + 0.02)), 41);
        double d = bias + (tile - 0.5) * 1.2;
        if (fu > 0.9 || fv > 0.9) d += 0.8; // the lit edge of each stone
        return Paint{Ramp::Stone, d};
    };
}

void PavingBox(ChipScene& scene, Rims rims, double bias) {
    const double lo = ChipScene::CellLo, hi = ChipScene::CellHi;
    const Shader top = PavingTop(bias);
    const int id = scene.Box(lo, hi, lo, hi, 0, 1, [rims, top, bias](const SurfacePoint& p) {
        if (OnTop(p)) {
            SurfacePoint inside = p;
            inside.U = std::clamp(p.U, 0.0, 0.999);
            inside.V = std::clamp(p.V, 0.0, 0.999);
            Paint paint = top(inside);
            paint.Delta += rims.At(p.U, p.V);
            return paint;
        }
        return Masonry(p, Ramp::Stone, bias - 0.5);
    });
    scene.SetOutline(id, false);
}

// A nest: an earthen mound with a dark burrow on open ground.
void Nest(ChipScene& scene, Rims rims) {
    GroundBox(scene, rims, Ramp::GroundA, GroundTop(1));
    scene.Ellipsoid(0.5, 0.5, 0.92, 0.34, 0.34, 0.5, [](const SurfacePoint& p) {
        const double r = std::hypot(p.U - 0.5, p.V - 0.5);
        if (r < 0.15 && p.NZ > 0.6) return Paint::Index(SingleIndex(Single::Hole));
        return Paint{Ramp::Earth, 0.5 * Cells(p.U, p.V, 14, 9) + (r < 0.2 ? -1.5 : 0)};
    });
}

// Entrances: doors on the two visible sides, a stair down and a trapdoor.
void Entrance(ChipScene& scene, int kind, double scale) {
    const double lo = ChipScene::CellLo, hi = ChipScene::CellHi;
    const Shader grass = GroundTop(2);
    const int id = scene.Box(lo, hi, lo, hi, 0, 1, [kind, grass, scale](const SurfacePoint& p) {
        const double px = 1.0 / 32 / scale;
        if (OnTop(p)) {
            const double du = std::fabs(p.U - 0.5), dv = std::fabs(p.V - 0.5);
            if (kind >= 2 && du < 0.27 && dv < 0.27) {
                if (du > 0.27 - px * 1.5 || dv > 0.27 - px * 1.5) return Paint{Ramp::Stone, 1};
                if (kind == 2) { // steps going down toward y+1
                    const int step = int((p.V - 0.23) * 10);
                    return Paint{Ramp::Stone,
                                 -1.5 - step * 1.1 + (Frac((p.V - 0.23) * 10) < 0.25 ? 1.5 : 0)};
                }
                // a wooden trapdoor with iron bands
                if (std::fabs(p.V - 0.38) < 0.03 || std::fabs(p.V - 0.62) < 0.03)
                    return Paint{Ramp::Metal, -1};
                return Paint{Ramp::Wood, -0.5 - (Frac(p.U * 10) < 0.15 ? 1.5 : 0)};
            }
            return grass(p);
        }
        const bool doorSide = (kind == 0 && OnLeft(p)) || (kind == 1 && OnRight(p));
        const double along = OnLeft(p) ? p.U : p.V;
        if (doorSide) {
            const double a = std::fabs(along - 0.5);
            const double arch = 0.62 + std::sqrt(std::max(0.0, 0.2 * 0.2 - a * a)) * 1.4;
            if (a < 0.2 && p.W < arch) return Paint::Index(SingleIndex(Single::Hole));
            if (a < 0.29 && p.W < arch + 0.14) return Masonry(p, Ramp::Stone, 0.5);
        }
        if (p.W > 0.84) return Paint{Ramp::GroundB, -1};
        return Paint{Ramp::Earth, -0.5 + 0.5 * Cells(along, p.W, 8, 3)};
    });
    scene.SetOutline(id, false);
}

// Elevator parts share four corner posts so that a shaft of them lines up across levels.
void ElevatorPosts(ChipScene& scene, double w0, double w1) {
    for (double u : {0.18, 0.82})
        for (double v : {0.18, 0.82})
            scene.Frustum(u, v, w0, w1, 0.045, 0.045, Flat(Ramp::Metal, 0));
}

void Elevator(ChipScene& scene, int part, double scale) {
    const double lo = ChipScene::CellLo, hi = ChipScene::CellHi;
    switch (part) {
    case 0: // bottom: a stone base with the lift platform, posts rising
        PavingBox(scene, Rims{false, false, 1.0 / 32 / scale}, -0.5);
        scene.Box(0.24, 0.76, 0.24, 0.76, 1.0, 1.12, [](const SurfacePoint& p) {
            return Paint{Ramp::Metal, (Frac(p.U * 6) < 0.2 || Frac(p.V * 6) < 0.2) ? -1.5 : 0.5};
        });
        ElevatorPosts(scene, 1.0, 2.0);
        break;
    case 1: { // top: the shaft opening with a wheel on a beam above
        const int base = scene.Box(lo, hi, lo, hi, 0, 1, [](const SurfacePoint& p) {
            if (OnTop(p)) {
                const double du = std::fabs(p.U - 0.5), dv = std::fabs(p.V - 0.5);
                if (du < 0.3 && dv < 0.3) return Paint::Index(SingleIndex(Single::Hole));
                if (du < 0.36 && dv < 0.36) return Paint{Ramp::Metal, 0.5};
                return Paint{Ramp::Stone, Cells(p.U, p.V, 8, 4) * 0.4};
            }
            return Masonry(p, Ramp::Stone, -0.5);
        });
        scene.SetOutline(base, false);
        ElevatorPosts(scene, 1.0, 1.75);
        scene.Box(0.14, 0.86, 0.46, 0.54, 1.75, 1.86, Flat(Ramp::Wood, 0));
        scene.Ellipsoid(0.5, 0.5, 1.6, 0.13, 0.05, 0.5, Flat(Ramp::Gold, 0));
        break;
    }
    default: // middles: posts with braces; the first carries the cage
        ElevatorPosts(scene, 0, 1);
        if (part == 2) {
            scene.Box(0.22, 0.78, 0.22, 0.78, 0.1, 0.2, Flat(Ramp::Metal, 0.5));
            scene.Box(0.22, 0.78, 0.22, 0.26, 0.2, 0.75, Flat(Ramp::Wood, -0.5));
            scene.Box(0.22, 0.26, 0.22, 0.78, 0.2, 0.75, Flat(Ramp::Wood, -0.5));
            scene.Box(0.24, 0.76, 0.74, 0.78, 0.2, 0.45, Flat(Ramp::Wood, 0));
            scene.Box(0.74, 0.78, 0.24, 0.76, 0.2, 0.45, Flat(Ramp::Wood, 0));
        } else {
            scene.Box(0.18, 0.82, 0.8, 0.84, 0.45, 0.55, Flat(Ramp::Metal, -0.5));
            scene.Box(0.8, 0.84, 0.18, 0.82, 0.45, 0.55, Flat(Ramp::Metal, -0.5));
            scene.Frustum(0.5, 0.5, 0, 1, 0.015, 0.015, Flat(Ramp::Wood, 1));
        }
        break;
    }
}

} // namespace

void DrawGround(int chip, const Target& t) {
    ChipScene scene;
    if (chip >= 1 && chip <= 16) {
        const int group = (chip - 1) / 4;
        const Rims rims = Rims::FromVariant((chip - 1) % 4, t.Scale);
        GroundBox(scene, rims, group == 0 ? Ramp::Earth : Ramp(int(Ramp::GroundA) + group - 1),
                  GroundTop(group), group != 0);
    } else if (chip >= 17 && chip <= 24) {
        PavingBox(scene, Rims::FromVariant((chip - 17) % 4, t.Scale), chip <= 20 ? -1.5 : 0.5);
    } else if (chip >= 112 && chip <= 115) {
        Nest(scene, Rims::FromVariant(chip - 112, t.Scale));
    } else if (chip >= 116 && chip <= 119) {
        Entrance(scene, chip - 116, t.Scale);
    } else {
        Elevator(scene, chip - 120, t.Scale);
    }
    scene.Render(t.Out, t.Scale);
}

} // namespace quarvel::chipart
