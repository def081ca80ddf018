// The drawing of the generated chip pictures, one function per chip family, and the helpers
// they share (texture noise, ground boxes, rendering objects that span levels).
#pragma once

#include "content/chipscene.h"

#include <cstdint>

namespace quarvel::chipart {

// Where one chip is drawn: a transparent chip picture of the size the scale gives
// (64 x 48 at 1, 32 x 24 at 0.5) and the terrain set whose look it takes.
struct Target {
    TBMP256& Out;
    double Scale;
    int Terrain;
};

// A repeatable pseudo-random number 0..1 for integer coordinates.
double Hash(int a, int b, int c = 0);
// Blocky noise -1..1: one value per 1/cells square of the cell's face.
double Cells(double u, double v, double cells, int seed = 0);
// Fractional part, always 0..1.
double Frac(double x);

// Which face of an axis box a surface point lies on.
inline bool OnTop(const SurfacePoint& p) {
    return p.NZ > 0.9;
}
inline bool OnLeft(const SurfacePoint& p) {
    return p.NY > 0.9;
} // faces +y
inline bool OnRight(const SurfacePoint& p) {
    return p.NX > 0.9;
} // faces +x

// Open sides of a ground chip, from its edge variant 0..3: the neighbour at x-1 or y-1
// holds no solid ground, so that back edge of the top shows a rim.
struct Rims {
    bool X = false;       // rim along the x-1 edge (u = 0)
    bool Y = false;       // rim along the y-1 edge (v = 0)
    double Px = 1.0 / 32; // how far one pixel row reaches into the face, in cells
    static Rims FromVariant(int variant, double scale) {
        return {variant == 1 || variant == 3, variant >= 2, 1.0 / 32 / scale};
    }
    // The shade added at a top-face point: a bright line on the open back edges.
    double At(double u, double v) const;
};

// A full ground box of the cell: `top` paints the top face (after the rim), the sides are
// earth with a lip of the top colour.
int GroundBox(ChipScene& scene, Rims rims, Ramp topRamp, Shader top, bool lip = true);

// Masonry on a side face: courses a third of a level high, joints offset every other
// course; curved faces use the angle around the cell's centre.
Paint Masonry(const SurfacePoint& p, Ramp ramp, double bias);

// Renders an object `levels` levels tall (built in the coordinates of its lowest level)
// as the chip of its level `level` (0 = lowest): only what lies within that level.
void RenderLevel(const ChipScene& scene, const Target& t, int level, int levels);

// The chip families. Each draws chip `chip` into the target.
void DrawGround(int chip, const Target& t);  // 1..24 ground and paving, 112..123
void DrawWater(int chip, const Target& t);   // 25..28 fields, 83..111 river and rock
void DrawPlants(int chip, const Target& t);  // 33..39 trees, 53 grass, 54..57
void DrawFences(int chip, const Target& t);  // 40..49 fences and seals
void DrawBridges(int chip, const Target& t); // 58..82 bridges, pier, stairs
void DrawCastle(int chip, const Target& t);  // 29..32 villages, 128..167
void DrawItems(int chip, const Target& t);   // 50..52 enemies, 124..127

// 2D touches over a rendered chip, in chip pixels at the target's scale.
void Dot(const Target& t, double x, double y, uint8_t index, int size = 1);
void Line(const Target& t, double x0, double y0, double x1, double y1, uint8_t index);

} // namespace quarvel::chipart
