// Chip family: two-level fences and the seal (upper halves even, lower halves odd): 40/41,
// 42/43 palisades along x and y, 44/45, 46/47 iron railings along x and y, 48/49 the seal.
#include "content/chipart.h"

#include <cmath>

namespace quarvel::chipart {

namespace {

// Places a solid given along x at the same spot turned to run along y.
struct Run {
    bool AlongY;
    void Box(ChipScene& s, double a0, double a1, double c0, double c1, double w0, double w1,
             Shader sh) const {
        if (AlongY)
            s.Box(c0, c1, a0, a1, w0, w1, std::move(sh));
        else
            s.Box(a0, a1, c0, c1, w0, w1, std::move(sh));
    }
    int Post(ChipScene& s, double a, double c, double w0, double w1, double r0, double r1,
             Shader sh) const {
        return AlongY ? s.Frustum(c, a, w0, w1, r0, r1, std::move(sh))
                      : s.Frustum(a, c, w0, w1, r0, r1, std::move(sh));
    }
};

// Pointed stakes side by side with two rails behind them.
void Palisade(ChipScene& scene, Run run) {
    const Shader wood = [](const SurfacePoint& p) {
        return Paint{Ramp::Wood, Frac(p.W * 1.3) < 0.08 ? -1.5 : -0.2};
    };
    for (int i = 0; i < 7; ++i) {
        const double a = 0.07 + i * 0.143, h = 1.5 + 0.12 * Hash(i, 5, 101);
        const int post = run.Post(scene, a, 0.5, 0, h, 0.07, 0.065, wood);
        scene.SetGroup(run.Post(scene, a, 0.5, h, h + 0.3, 0.065, 0, Flat(Ramp::Wood, 0.5)), post);
    }
    run.Box(scene, ChipScene::CellLo, ChipScene::CellHi, 0.38, 0.44, 0.35, 0.5,
            Flat(Ramp::Wood, -1));
    run.Box(scene, ChipScene::CellLo, ChipScene::CellHi, 0.38, 0.44, 1.15, 1.3,
            Flat(Ramp::Wood, -1));
}

// Iron bars with gilded spear tips on a low stone base.
void Railing(ChipScene& scene, Run run) {
    run.Box(scene, ChipScene::CellLo, ChipScene::CellHi, 0.38, 0.62, 0, 0.25,
            [](const SurfacePoint& p) {
                return Paint{Ramp::Stone, (p.Edge < 0.03 ? 0.8 : -0.3) +
                                              (Frac((OnLeft(p) ? p.U : p.V) * 4) < 0.06 ? -2 : 0)};
            });
    for (int i = 0; i < 9; ++i) {
        const double a = 0.055 + i * 0.111;
        const int bar = run.Post(scene, a, 0.5, 0.25, 1.6, 0.026, 0.026, Flat(Ramp::Metal, -0.5));
        scene.SetGroup(run.Post(scene, a, 0.5, 1.6, 1.82, 0.045, 0, Flat(Ramp::Gold, 0)), bar);
    }
    run.Box(scene, ChipScene::CellLo, ChipScene::CellHi, 0.47, 0.53, 0.8, 0.88,
            Flat(Ramp::Metal, 0));
    run.Box(scene, ChipScene::CellLo, ChipScene::CellHi, 0.47, 0.53, 1.42, 1.5,
            Flat(Ramp::Metal, 0));
}

// The seal: a tapering stone with glowing runes and a floating orb.
void Seal(ChipScene& scene) {
    scene.Box(0.18, 0.82, 0.18, 0.82, 0, 0.25, [](const SurfacePoint& p) {
        return Paint{Ramp::Stone, p.Edge < 0.03 ? 0.8 : -0.6};
    });
    // A square pillar narrowing from 0.17 to 0.12 half width between w 0.25 and 1.7.
    const double k = (0.17 - 0.12) / 1.45;
    auto side = [k](double a, double b) {
        // a*(u - 0.5) + b*(v - 0.5) <= 0.17 - k*(w - 0.25)
        return ChipScene::Plane{a, b, k, 0.17 + k * 0.25 + 0.5 * (a + b)};
    };
    scene.Convex(
        {side(1, 0), side(-1, 0), side(0, 1), side(0, -1), {0, 0, -1, -0.25}, {0, 0, 1, 1.7}},
        [](const SurfacePoint& p) {
            const double along = OnLeft(p) ? p.U : p.V;
            const bool rune = !OnTop(p) && std::fabs(along - 0.5) < 0.07 && p.W > 0.45 &&
                              p.W < 1.5 && Frac(p.W * 5) < 0.55 &&
                              Hash(int(p.W * 5), int(along * 30), 111) > 0.3;
            if (rune) return Paint{Ramp::Magic, 10, true};
            return Paint{Ramp::Stone, -0.5 + 0.4 * Cells(along, p.W, 10, 112)};
        });
    // pyramid cap
    scene.Convex({{1, 0, 0.12 / 0.25, 0.5 + 0.12 + 0.12 / 0.25 * 1.7},
                  {-1, 0, 0.12 / 0.25, -0.5 + 0.12 + 0.12 / 0.25 * 1.7},
                  {0, 1, 0.12 / 0.25, 0.5 + 0.12 + 0.12 / 0.25 * 1.7},
                  {0, -1, 0.12 / 0.25, -0.5 + 0.12 + 0.12 / 0.25 * 1.7},
                  {0, 0, -1, -1.7}},
                 Flat(Ramp::Stone, 0.3));
    scene.Ellipsoid(0.5, 0.5, 2.15, 0.09, 0.09, 0.18, [](const SurfacePoint& p) {
        return Paint{Ramp::Magic, 7 + 4 * p.NZ, true};
    });
}

} // namespace

void DrawFences(int chip, const Target& t) {
    ChipScene scene;
    switch ((chip - 40) / 2) {
    case 0:
        Palisade(scene, Run{false});
        break;
    case 1:
        Palisade(scene, Run{true});
        break;
    case 2:
        Railing(scene, Run{false});
        break;
    case 3:
        Railing(scene, Run{true});
        break;
    default:
        Seal(scene);
        break;
    }
    RenderLevel(scene, t, chip % 2 == 0 ? 1 : 0, 2);
}

} // namespace quarvel::chipart
