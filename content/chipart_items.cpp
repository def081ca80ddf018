// Chip family: enemies (50 weak, 51 medium, 52 strong), the well (124), crystal (125),
// money (126) and clock (127).
#include "content/chipart.h"

#include <cmath>

namespace quarvel::chipart {

namespace {

// Eyes as pixels over the rendered chip, placed by projecting points of the body.
void Eyes(const Target& t, double u, double v, double w, double apart, uint8_t pupil) {
    for (int side = -1; side <= 1; side += 2) {
        double x, y;
        ChipScene::Project(u + side * apart, v - side * apart, w, t.Scale, 0, x, y);
        const int size = t.Scale < 1 ? 1 : 2;
        if (t.Scale >= 1) Dot(t, x - 1, y - 1, SingleIndex(Single::EyeWhite), 3);
        Dot(t, x - (t.Scale < 1 ? 0.5 : 0), y - (t.Scale < 1 ? 0.5 : 0), pupil, size);
    }
}

// A shiny highlight on the upper left of a rounded body.
Shader Glossy(Ramp r, double bias) {
    return [r, bias](const SurfacePoint& p) {
        if (p.NZ > 0.55 && p.NY > 0.25 && p.NX < 0.1) return Paint{r, 11, true};
        return Paint{r, bias};
    };
}

void Slime(ChipScene& scene, const Target& t) {
    scene.Ellipsoid(0.55, 0.55, 0.02, 0.3, 0.3, 0.62, Glossy(Ramp::Slime, 0));
    scene.Frustum(0.5, 0.5, 0.5, 0.78, 0.07, 0, Glossy(Ramp::Slime, 0.5));
    scene.Render(t.Out, t.Scale);
    Eyes(t, 0.76, 0.76, 0.32, 0.1, SingleIndex(Single::Black));
}

void Beast(ChipScene& scene, const Target& t) {
    const Shader fur = [](const SurfacePoint& p) {
        return Paint{Ramp::Wood,
                     (Hash(int(p.U * 30), int(p.V * 30 + p.W * 15), 161) > 0.8) ? -1.2 : 0.3};
    };
    const int body = scene.Ellipsoid(0.5, 0.5, 0.55, 0.3, 0.28, 0.55, fur);
    for (double s : {-1.0, 1.0}) {
        scene.SetGroup(scene.Frustum(0.5 + 0.16 * s, 0.5 - 0.16 * s, 0.9, 1.45, 0.06, 0,
                                     Flat(Ramp::Plaster, 1)),
                       body);
        scene.SetGroup(
            scene.Ellipsoid(0.56 + 0.16 * s, 0.56 - 0.16 * s, 0.08, 0.08, 0.08, 0.16, fur), body);
    }
    scene.Render(t.Out, t.Scale);
    Eyes(t, 0.72, 0.72, 0.78, 0.08, SingleIndex(Single::FlowerYellow));
    double x, y;
    ChipScene::Project(0.76, 0.76, 0.5, t.Scale, 0, x, y);
    Line(t, x - 4 * t.Scale, y, x + 4 * t.Scale, y, SingleIndex(Single::Black));
}

void Demon(ChipScene& scene, const Target& t) {
    const Shader hide = [](const SurfacePoint& p) {
        return Paint{Ramp::Beast, -2.2 + (Frac(p.W * 6) < 0.2 ? -1 : 0)};
    };
    // Bat wings spread sideways in the plane that faces the viewer.
    const double r2 = std::sqrt(0.5);
    const double c[3] = {0.5, 0.5, 0.6}; // physical: z = w / 2
    // a . (p - c) <= k, with a given physically, as a plane in cell and level terms
    auto plane = [&c](double ax, double ay, double az, double k) {
        return ChipScene::Plane{ax, ay, az / 2, k + ax * c[0] + ay * c[1] + az * c[2]};
    };
    for (double g : {-1.0, 1.0}) {
        const double sx = g * r2, sy = -g * r2; // g * (the screen's horizontal direction)
        scene.Convex({plane(r2, r2, 0, 0.015), plane(-r2, -r2, 0, 0.015), plane(-sx, -sy, 0, -0.1),
                      plane(sx, sy, 0, 0.46), plane(-0.3 * sx, -0.3 * sy, 1, 0.27),
                      plane(0.7 * sx, 0.7 * sy, -1, 0.12)},
                     [](const SurfacePoint& p) {
                         return Paint{Ramp::Magic, -3.0 + (Frac((p.U - p.V) * 7) < 0.2 ? -1.5 : 0)};
                     });
    }
    const int body = scene.Ellipsoid(0.5, 0.5, 0.7, 0.3, 0.3, 0.75, hide);
    const int head = scene.Ellipsoid(0.56, 0.56, 1.45, 0.17, 0.17, 0.34, hide);
    scene.SetGroup(head, body);
    for (double s : {-1.0, 1.0}) {
        scene.SetGroup(scene.Frustum(0.56 + 0.12 * s, 0.56 - 0.12 * s, 1.55, 1.95, 0.05, 0,
                                     Flat(Ramp::Gold, 0.5)),
                       body);
        scene.SetGroup(scene.Ellipsoid(0.58 + 0.2 * s, 0.58 - 0.2 * s, 0.1, 0.09, 0.09, 0.2, hide),
                       body);
    }
    scene.Render(t.Out, t.Scale);
    Eyes(t, 0.68, 0.68, 1.55, 0.06, SingleIndex(Single::FlowerRed));
}

void Well(ChipScene& scene) {
    scene.Frustum(0.5, 0.5, 0, 0.5, 0.3, 0.3, [](const SurfacePoint& p) {
        if (OnTop(p)) {
            if (std::hypot(p.U - 0.5, p.V - 0.5) < 0.22) return Paint{Ramp::Water, 3, true};
            return Paint{Ramp::Stone, 0.5};
        }
        return Masonry(p, Ramp::Stone, -0.3);
    });
    for (double s : {-1.0, 1.0})
        scene.Box(0.5 + 0.26 * s - 0.03, 0.5 + 0.26 * s + 0.03, 0.47, 0.53, 0.5, 1.35,
                  Flat(Ramp::Wood, 0));
    const double k = 0.2 / 0.3;
    scene.Convex({{0, 1, k, 0.5 + 1.55 * k},
                  {0, -1, k, -0.5 + 1.55 * k},
                  {1, 0, 0, 0.86},
                  {-1, 0, 0, -0.14},
                  {0, 0, -1, -1.3}},
                 [](const SurfacePoint& p) {
                     if (p.NX > 0.9) return Paint{Ramp::Wood, -1};
                     return Paint{Ramp::Wood, Frac(p.U * 8) < 0.15 ? -1.5 : 0.3};
                 });
}

// An octahedron of crystal floating above the floor.
void Crystal(ChipScene& scene) {
    const double cu = 0.5, cv = 0.5, cw = 1.0, r = 0.28, h = 0.42; // h: half height (cells)
    std::vector<ChipScene::Plane> planes;
    for (double sx : {-1.0, 1.0})
        for (double sy : {-1.0, 1.0})
            for (double sz : {-1.0, 1.0}) {
                // sx*(u-cu)/r + sy*(v-cv)/r + sz*(w/2 - cw/2)/h <= 1
                planes.push_back({sx / r, sy / r, sz / (2 * h),
                                  1 + sx * cu / r + sy * cv / r + sz * cw / (2 * h)});
            }
    scene.Convex(planes, [](const SurfacePoint& p) {
        double d = 2 + 7 * (p.NZ * 0.5 + 0.5) * (p.NY > 0 ? 1.0 : 0.75);
        if (p.Edge < 0.015) d += 2;
        return Paint{Ramp::Crystal, d, true};
    });
    const int glow = scene.Ellipsoid(0.5, 0.5, 0.02, 0.16, 0.16, 0.03, [](const SurfacePoint&) {
        return Paint{Ramp::Crystal, 8, true};
    });
    scene.SetOutline(glow, false);
}

// Stacks of gold coins beside a sack.
void Money(ChipScene& scene) {
    const Shader cloth = [](const SurfacePoint& p) {
        return Paint{Ramp::Earth, 1.5 + (p.W > 0.7 ? -1 : 0)};
    };
    scene.Ellipsoid(0.42, 0.36, 0.4, 0.22, 0.22, 0.42, cloth);
    scene.Frustum(0.42, 0.36, 0.7, 0.95, 0.06, 0.12, cloth);
    const Shader coin = [](const SurfacePoint& p) {
        if (OnTop(p)) return Paint{Ramp::Gold, 0.8};
        return Paint{Ramp::Gold, Frac(p.W * 10) < 0.3 ? -1.5 : 0};
    };
    const double stacks[3][3] = {{0.68, 0.52, 5}, {0.5, 0.74, 3}, {0.75, 0.78, 2}};
    for (const auto& st : stacks) scene.Frustum(st[0], st[1], 0, 0.1 * st[2], 0.11, 0.11, coin);
}

// A round clock face on a post, turned toward the viewer.
void Clock(ChipScene& scene, const Target& t) {
    scene.Frustum(0.5, 0.5, 0, 0.12, 0.16, 0.14, Flat(Ramp::Wood, -0.5));
    scene.Frustum(0.5, 0.5, 0.12, 0.7, 0.04, 0.04, Flat(Ramp::Wood, 0));
    // A disc: axis d = (1, 1, 0) / sqrt 2, radius 0.27 cells, thickness 0.08.
    const double s2 = std::sqrt(0.5), cu = 0.5, cv = 0.5, cz = 0.62, r = 0.27;
    std::vector<ChipScene::Plane> planes;
    for (int i = 0; i < 16; ++i) {
        const double a = i * 6.2832 / 16;
        // n = cos a * (1, -1, 0)/sqrt2 + sin a * (0, 0, 1)
        const double nx = std::cos(a) * s2, ny = -std::cos(a) * s2, nz = std::sin(a);
        planes.push_back({nx, ny, nz / 2, r + nx * cu + ny * cv + nz * cz});
    }
    planes.push_back({s2, s2, 0, 0.04 + s2 * (cu + cv)});
    planes.push_back({-s2, -s2, 0, 0.04 - s2 * (cu + cv)});
    scene.Convex(planes, [](const SurfacePoint& p) {
        if (p.NX > 0.6 && p.NY > 0.6 && p.Edge > 0.04)
            return Paint::Index(SingleIndex(Single::EyeWhite));
        return Paint{Ramp::Gold, 0};
    });
    scene.Render(t.Out, t.Scale);
    // The face's centre on the chip; the face spans about 12 pixels across and 8 up and
    // down from it at full size.
    double x, y;
    ChipScene::Project(cu + 0.04, cv + 0.04, 2 * cz, t.Scale, 0, x, y);
    const uint8_t ink = SingleIndex(Single::Black);
    for (int i = 0; i < 12; i += 3) {
        const double a = i * 6.2832 / 12;
        Dot(t, x + std::sin(a) * 9 * t.Scale, y - std::cos(a) * 6 * t.Scale, ink);
    }
    Line(t, x, y, x + 5 * t.Scale, y - 3 * t.Scale, ink); // hour hand
    Line(t, x, y, x, y - 5 * t.Scale, ink);               // minute hand
}

} // namespace

void DrawItems(int chip, const Target& t) {
    ChipScene scene;
    switch (chip) {
    case 50:
        Slime(scene, t);
        return;
    case 51:
        Beast(scene, t);
        return;
    case 52:
        Demon(scene, t);
        return;
    case 124:
        Well(scene);
        break;
    case 125:
        Crystal(scene);
        break;
    case 126:
        Money(scene);
        break;
    default:
        Clock(scene, t);
        return;
    }
    scene.Render(t.Out, t.Scale);
}

} // namespace quarvel::chipart
