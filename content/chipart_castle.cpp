// Chip families with one member per country: villages (29..), kings (128..), tents (132..),
// castle gates (136.., 140..; upper halves + 8), walls (152..) and towers (156..; + 8).
#include "content/chipart.h"

#include <algorithm>
#include <cmath>

namespace quarvel::chipart {

namespace {

constexpr double Lo = ChipScene::CellLo, Hi = ChipScene::CellHi;

Paint SkinTone(const SurfacePoint& p) {
    const Single s = p.Light > 8.2   ? Single::SkinLight
                     : p.Light > 6.2 ? Single::Skin
                                     : Single::SkinDark;
    return Paint::Index(SingleIndex(s));
}

// A timber-framed house with a gabled roof in the country's colour.
void Village(ChipScene& scene, int country) {
    const Ramp roof = CountryRamp(country);
    scene.Box(0.14, 0.86, 0.2, 0.8, 0, 0.72, [](const SurfacePoint& p) {
        if (OnTop(p)) return Paint{Ramp::Plaster, 0};
        if (p.Edge < 0.035 || std::fabs(p.W - 0.36) < 0.025) return Paint{Ramp::Wood, -1};
        const double along = OnLeft(p) ? p.U : p.V;
        if (OnLeft(p) && std::fabs(along - 0.5) < 0.075 && p.W < 0.33)
            return Paint{Ramp::Wood, -1.8 + (Frac(along * 30) < 0.3 ? -1 : 0)}; // door
        const double centres[2] = {OnLeft(p) ? 0.27 : 0.5, OnLeft(p) ? 0.73 : 0.5};
        for (double c : centres) {
            if (std::fabs(along - c) < 0.075 && p.W > 0.42 && p.W < 0.62) {
                if (std::fabs(along - c) > 0.055 || p.W < 0.44 || p.W > 0.6)
                    return Paint{Ramp::Wood, 0.5};
                return Paint::Index(SingleIndex(Single::Hole));
            }
        }
        return Paint{Ramp::Plaster, -0.3 + 0.3 * Cells(along, p.W, 12, 141)};
    });
    const double ridge = 1.45, eave = 0.66, k = (ridge - eave) / 0.4;
    scene.Convex({{0, k, 1, ridge + 0.5 * k},
                  {0, -k, 1, ridge - 0.5 * k},
                  {1, 0, 0, 0.92},
                  {-1, 0, 0, -0.08},
                  {0, 0, -1, -eave}},
                 [roof](const SurfacePoint& p) {
                     if (p.NX > 0.9) { // gable end
                         if (p.Edge < 0.03) return Paint{Ramp::Wood, 0};
                         return Paint{Ramp::Plaster, -0.6};
                     }
                     if (p.Edge < 0.02) return Paint{roof, -2};
                     const double row = p.W * 7;
                     const double seam = Frac(p.U * 8 + (int(std::floor(row)) % 2) * 0.5);
                     return Paint{roof, (Frac(row) < 0.22 || seam < 0.1) ? -1.6 : 0.2};
                 });
    scene.Box(0.64, 0.74, 0.3, 0.4, 0.9, 1.62, [](const SurfacePoint& p) {
        if (OnTop(p)) return Paint::Index(SingleIndex(Single::Hole));
        return Masonry(p, Ramp::Stone, -0.3);
    });
}

// The king on a carpeted dais before his throne.
void King(ChipScene& scene, int country) {
    const Ramp robe = CountryRamp(country);
    const int dais = scene.Box(Lo, Hi, Lo, Hi, 0, 0.3, [robe](const SurfacePoint& p) {
        if (OnTop(p)) {
            const double m = std::max(std::fabs(p.U - 0.5), std::fabs(p.V - 0.5));
            if (m < 0.34) return Paint{robe, -1.5 + (Frac(p.U * 6 + p.V * 6) < 0.5 ? 0.4 : 0)};
            if (m < 0.38) return Paint{Ramp::Gold, 0};
            return Paint{Ramp::Stone, 0.3 * Cells(p.U, p.V, 8, 142)};
        }
        return Masonry(p, Ramp::Stone, -0.2);
    });
    scene.SetOutline(dais, false);
    scene.Box(0.28, 0.72, 0.18, 0.3, 0.3, 1.55, [robe](const SurfacePoint& p) {
        if (p.Edge < 0.03) return Paint{Ramp::Gold, 0.5};
        return Paint{robe, -1};
    });
    scene.Box(0.3, 0.7, 0.3, 0.5, 0.3, 0.62, Flat(robe, -0.8));
    const int body = scene.Frustum(0.5, 0.56, 0.3, 1.22, 0.21, 0.12, [robe](const SurfacePoint& p) {
        if (std::fabs(std::atan2(p.NY, p.NX) - 0.785) < 0.18) return Paint{Ramp::Gold, 0.5};
        return Paint{robe, 0.6};
    });
    scene.SetGroup(
        scene.Ellipsoid(0.5, 0.56, 1.2, 0.16, 0.16, 0.14,
                        [](const SurfacePoint& p) {
                            return Paint{
                                Ramp::Plaster,
                                1.5 + (Hash(int(p.U * 40), int(p.V * 40), 143) > 0.8 ? -3 : 0)};
                        }),
        body);
    const int head = scene.Ellipsoid(0.5, 0.56, 1.44, 0.11, 0.11, 0.23, SkinTone);
    scene.SetGroup(scene.Ellipsoid(0.56, 0.62, 1.35, 0.075, 0.075, 0.15, Flat(Ramp::Plaster, 2.5)),
                   head);
    const int crown = scene.Frustum(0.5, 0.56, 1.55, 1.68, 0.09, 0.1, Flat(Ramp::Gold, 0.5));
    for (int i = 0; i < 5; ++i) {
        const double a = i * 1.2566;
        scene.SetGroup(scene.Frustum(0.5 + 0.085 * std::cos(a), 0.56 + 0.085 * std::sin(a), 1.68,
                                     1.8, 0.028, 0, Flat(Ramp::Gold, 1)),
                       crown);
    }
    scene.Frustum(0.76, 0.6, 0.3, 1.42, 0.022, 0.022, Flat(Ramp::Gold, 0));
    scene.Ellipsoid(0.76, 0.6, 1.48, 0.05, 0.05, 0.1, Flat(Ramp::Crystal, 1));
}

// A round tent striped in the country's colour, with a pennant.
void Tent(ChipScene& scene, int country) {
    const Ramp colour = CountryRamp(country);
    const auto stripes = [colour](const SurfacePoint& p, double bias) {
        const double a = std::atan2(p.V - 0.5, p.U - 0.5);
        return Frac(a * 8 / 6.2832) < 0.5 ? Paint{colour, bias} : Paint{Ramp::Plaster, bias + 0.5};
    };
    scene.Frustum(0.5, 0.5, 0, 0.55, 0.43, 0.43, [stripes](const SurfacePoint& p) {
        const double a = std::atan2(p.V - 0.5, p.U - 0.5);
        if (std::fabs(a - 0.785) < 0.28 && p.W < 0.5 - std::fabs(a - 0.785) * 1.2)
            return Paint::Index(SingleIndex(Single::Hole));
        return stripes(p, -0.5);
    });
    scene.Frustum(0.5, 0.5, 0.55, 1.45, 0.49, 0.02,
                  [stripes](const SurfacePoint& p) { return stripes(p, 0); });
    scene.Frustum(0.5, 0.5, 1.45, 1.86, 0.018, 0.018, Flat(Ramp::Wood, 0));
    scene.Box(0.52, 0.74, 0.48, 0.52, 1.64, 1.84, Flat(colour, 0.5));
}

// Battlements: merlons along the four edges of the cell at heights w0..w1.
void Merlons(ChipScene& scene, double w0, double w1) {
    const Shader stone = [](const SurfacePoint& p) {
        return Paint{Ramp::Stone, p.Edge < 0.025 && OnTop(p) ? 0.8 : -0.2};
    };
    const double size = 0.17, depth = 0.15;
    for (int i = 0; i < 4; ++i) {
        const double a0 = Lo + i * 0.283, a1 = a0 + size;
        scene.Box(a0, a1, Lo, Lo + depth, w0, w1, stone);
        scene.Box(a0, a1, Hi - depth, Hi, w0, w1, stone);
        scene.Box(Lo, Lo + depth, a0, a1, w0, w1, stone);
        scene.Box(Hi - depth, Hi, a0, a1, w0, w1, stone);
    }
}

// A pennant on a pole standing at the middle of the cell from w0.
void Pennant(ChipScene& scene, Ramp colour, double w0) {
    scene.Frustum(0.5, 0.5, w0, w0 + 0.8, 0.02, 0.02, Flat(Ramp::Wood, 0));
    scene.Box(0.52, 0.8, 0.48, 0.52, w0 + 0.5, w0 + 0.76, Flat(colour, 0.5));
}

// A banner hanging on the visible face(s) of a wall block: |along - 0.5| < half, from top
// down to `bottom`, cut in a V.
bool OnBanner(const SurfacePoint& p, double half, double top, double bottom) {
    const double along = OnLeft(p) ? p.U : p.V;
    const double a = std::fabs(along - 0.5);
    return a < half && p.W < top && p.W > bottom + 0.18 * (1 - a / half);
}

// A gatehouse, two levels: an arched gate with a portcullis through the lower level,
// battlements and the country's banner and flag above. `alongY` puts the gate on the +x
// side instead of the +y side.
void Gate(ChipScene& scene, int country, bool alongY, bool withUpper) {
    const Ramp colour = CountryRamp(country);
    const int lower = scene.Box(Lo, Hi, Lo, Hi, 0, 1, [alongY, colour](const SurfacePoint& p) {
        const bool gateFace = alongY ? OnRight(p) : OnLeft(p);
        if (gateFace) {
            const double along = alongY ? p.V : p.U;
            const double a = std::fabs(along - 0.5);
            if (a > 0.36 && a < 0.45 && p.W < 0.92 &&
                p.W > 0.3 + 0.12 * (1 - std::fabs(a - 0.405) / 0.045))
                return Paint{colour, -0.3}; // banners beside the gate
            const double arch = 0.45 + std::sqrt(std::max(0.0, 0.26 * 0.26 - a * a)) * 1.7;
            if (a < 0.26 && p.W < arch) {
                if (Frac(along * 14) < 0.28 || Frac(p.W * 8) < 0.25) return Paint{Ramp::Metal, 0};
                return Paint::Index(SingleIndex(Single::Hole));
            }
            if (a < 0.33 && p.W < arch + 0.12) return Paint{Ramp::Stone, 1.2};
        }
        return Masonry(p, Ramp::Stone, -0.4);
    });
    scene.SetOutline(lower, false);
    if (!withUpper) return;
    const int upper = scene.Box(Lo, Hi, Lo, Hi, 1, 1.42, [alongY, colour](const SurfacePoint& p) {
        const bool gateFace = alongY ? OnRight(p) : OnLeft(p);
        if (gateFace && OnBanner(p, 0.16, 1.42, 1.0)) {
            const double along = alongY ? p.V : p.U;
            if (std::hypot(along - 0.5, (p.W - 1.28) * 0.5) < 0.05) return Paint{Ramp::Gold, 0.5};
            return Paint{colour, 0};
        }
        if (OnTop(p)) return Paint{Ramp::Stone, -0.5 + 0.3 * Cells(p.U, p.V, 8, 151)};
        return Masonry(p, Ramp::Stone, -0.2);
    });
    scene.SetOutline(upper, false);
    Merlons(scene, 1.42, 1.7);
    Pennant(scene, colour, 1.42);
}

// A wall: a masonry block with the country's banners, battlements above.
void Wall(ChipScene& scene, int country, bool withUpper) {
    const Ramp colour = CountryRamp(country);
    const int lower = scene.Box(Lo, Hi, Lo, Hi, 0, 1, [colour](const SurfacePoint& p) {
        if (!OnTop(p) && OnBanner(p, 0.11, 1.01, 0.3)) return Paint{colour, -0.3};
        return Masonry(p, Ramp::Stone, -0.4);
    });
    scene.SetOutline(lower, false);
    if (!withUpper) return;
    const int upper = scene.Box(Lo, Hi, Lo, Hi, 1, 1.38, [colour](const SurfacePoint& p) {
        if (OnTop(p)) return Paint{Ramp::Stone, -0.5 + 0.3 * Cells(p.U, p.V, 8, 152)};
        const double along = OnLeft(p) ? p.U : p.V;
        if (std::fabs(along - 0.5) < 0.11 && p.W > 1.06) return Paint{colour, 0.3}; // banner rods
        if (std::fabs(along - 0.5) < 0.13 && p.W > 1.0 && p.W < 1.06) return Paint{Ramp::Gold, 0};
        return Masonry(p, Ramp::Stone, -0.2);
    });
    scene.SetOutline(upper, false);
    Merlons(scene, 1.38, 1.66);
}

// A tower: a masonry block with arrow slits, a round turret with a roof of the country's
// colour above.
void Tower(ChipScene& scene, int country, bool withUpper) {
    const Ramp colour = CountryRamp(country);
    const int lower = scene.Box(Lo, Hi, Lo, Hi, 0, 1, [colour](const SurfacePoint& p) {
        const double along = OnLeft(p) ? p.U : p.V;
        if (!OnTop(p) && std::fabs(along - 0.5) < 0.03 && p.W > 0.35 && p.W < 0.75)
            return Paint::Index(SingleIndex(Single::Hole));
        if (!OnTop(p) && std::fabs(along - 0.5) < 0.12 && p.W > 0.8 && p.W < 0.92)
            return Paint{colour, 0}; // a band of the country's colour
        return Masonry(p, Ramp::Stone, -0.4);
    });
    scene.SetOutline(lower, false);
    if (!withUpper) return;
    scene.Frustum(0.5, 0.5, 1, 1.5, 0.46, 0.46, [](const SurfacePoint& p) {
        if (OnTop(p)) return Paint{Ramp::Stone, -0.5};
        const double a = std::atan2(p.V - 0.5, p.U - 0.5);
        if (std::fabs(a - 0.785) < 0.06 && p.W > 1.15 && p.W < 1.4)
            return Paint::Index(SingleIndex(Single::Hole));
        return Masonry(p, Ramp::Stone, -0.2);
    });
    scene.Frustum(0.5, 0.5, 1.5, 2.3, 0.53, 0, [colour](const SurfacePoint& p) {
        const double row = p.W * 8;
        return Paint{colour, Frac(row) < 0.25 ? -1.5 : 0.3};
    });
    scene.Ellipsoid(0.5, 0.5, 2.33, 0.04, 0.04, 0.08, Flat(Ramp::Gold, 1));
}

} // namespace

void DrawCastle(int chip, const Target& t) {
    ChipScene scene;
    if (chip >= 29 && chip <= 32) {
        Village(scene, chip - 29);
    } else if (chip >= 128 && chip <= 131) {
        King(scene, chip - 128);
    } else if (chip >= 132 && chip <= 135) {
        Tent(scene, chip - 132);
    } else {
        // Two-level objects: lower halves 136..143 and 152..159, upper halves 8 above.
        const bool upper = (chip >= 144 && chip <= 151) || chip >= 160;
        const int lower = upper ? chip - 8 : chip;
        const int country = (lower - 136) % 4;
        // A lower half is its block alone, with its own top; an upper half is what the
        // whole object shows above the lower level.
        if (lower < 144)
            Gate(scene, country, lower >= 140, upper);
        else if (lower < 156)
            Wall(scene, country, upper);
        else
            Tower(scene, country, upper);
        if (upper) {
            RenderLevel(scene, t, 1, 2);
            return;
        }
    }
    scene.Render(t.Out, t.Scale);
}

} // namespace quarvel::chipart
