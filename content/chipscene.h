// ChipScene: a small ray caster that draws isometric chip pictures from solids (boxes,
// convex solids, ellipsoids, cones) in the cell's own coordinates, at either chip size.
#pragma once

#include "content/chippalette.h"
#include "graphics/bmp256.h"

#include <functional>
#include <limits>
#include <vector>

namespace quarvel {

// A point on a visible surface, handed to the solid's shader.
struct SurfacePoint {
    double U = 0, V = 0, W = 0;    // position: cells along x and y, levels upward (a level is
                                   // half a cell high)
    double NX = 0, NY = 0, NZ = 1; // unit normal (x, y, up), true proportions
    double Edge = 1e9;             // distance to the nearest edge of a flat face, in cells
    double Light = 0;              // the shade the light gives this normal (about 5..9)
};

// What a shader paints: a ramp shade (light plus Delta, or exactly Delta when Unlit), or a
// fixed palette index.
struct Paint {
    Ramp Colour = Ramp::Grey;
    double Delta = 0;
    bool Unlit = false;
    int Fixed = -1;
    static Paint Index(uint8_t index) { return {Ramp::Grey, 0, false, index}; }
};
using Shader = std::function<Paint(const SurfacePoint&)>;

// A shader that paints one ramp with a constant shade offset.
Shader Flat(Ramp colour, double delta = 0);

class ChipScene {
public:
    static constexpr double Inf = std::numeric_limits<double>::infinity();
    // A box that fills the cell's footprint exactly, edge pixels included.
    static constexpr double CellLo = -1.0 / 64 - 1e-6;
    static constexpr double CellHi = 1 + 1.0 / 64 + 1e-6;

    // Solids. Coordinates: u along x, v along y (0..1 across the cell), w upward in levels
    // (0 = the floor of the chip's level, 1 = its top). Each returns the solid's number.
    int Box(double u0, double u1, double v0, double v1, double w0, double w1, Shader shader);
    // The convex solid where a*u + b*v + c*w <= d for every plane (a, b, c, d).
    struct Plane {
        double A, B, C, D;
    };
    int Convex(const std::vector<Plane>& planes, Shader shader);
    int Ellipsoid(double cu, double cv, double cw, double ru, double rv, double rw, Shader shader);
    // An upright cylinder or cone: radius r0 at w0, r1 at w1 (radii in cells).
    int Frustum(double cu, double cv, double w0, double w1, double r0, double r1, Shader shader);

    // Outline (the default for every solid but boxes made with NoOutline()) darkens the
    // pixels of a solid that border empty space or a solid of another group lying behind.
    void SetOutline(int solid, bool on) { Solids[size_t(solid)].Outline = on; }
    void SetGroup(int solid, int group) { Solids[size_t(solid)].Group = group; }

    // Draws the scene into `chip` (64 x 48 at scale 1, 32 x 24 at scale 0.5) as seen from
    // level `level` of a column: only surface points with w in [wMin, wMax) are drawn, so
    // an object several levels tall is split over its chips without seams. Pixels that
    // show nothing keep their value.
    void Render(TBMP256& chip, double scale, int level = 0, double wMin = -Inf,
                double wMax = Inf) const;

    // Where the point (u, v, w) lands in a chip of level `level` at `scale`.
    static void Project(double u, double v, double w, double scale, int level, double& x,
                        double& y);

private:
    enum class Kind { Convex, Ellipsoid, Frustum };
    struct Solid {
        Kind Type;
        std::vector<Plane> Planes; // physical: a*x + b*y + c*z <= d, z = w / 2
        double C[3] = {0, 0, 0};   // centre (ellipsoid) or axis point (frustum), physical
        double R[3] = {0, 0, 0};   // radii (ellipsoid); R[0], R[1] = radius at Z0, Z1
        double Z0 = 0, Z1 = 0;
        double Bounds[6] = {0, 0, 0, 0, 0, 0}; // physical box: x0, x1, y0, y1, z0, z1
        Shader Shade;
        bool Outline = true;
        int Group = 0;
    };
    struct Hit {
        double T = -Inf;
        int Solid = -1;
        int Plane = -1;
    };
    int Add(Solid s);
    Hit Trace(double ox, double oy) const;
    bool HitSolid(const Solid& s, double ox, double oy, double& t, int& plane) const;
    SurfacePoint Surface(const Solid& s, const Hit& h, double ox, double oy) const;

    std::vector<Solid> Solids;
};

} // namespace quarvel
