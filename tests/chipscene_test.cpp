// Tests of the chip ray caster: where solids land, which one is in front, how faces are lit,
// and that an object split over its levels adds up to the whole object.
#include "content/chipscene.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quarvel;

namespace {

TBMP256 Blank(double scale) {
    TBMP256 b;
    b.SetSize(int(64 * scale), int(48 * scale));
    return b;
}

int Shown(const TBMP256& b) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) n += b.GetPixel(x, y) != 0;
    return n;
}

// The shade of a pixel painted from the grey ramp.
int ShadeAt(const TBMP256& b, int x, int y) {
    for (int s = 0; s < RampShades; ++s)
        if (b.GetPixel(x, y) == RampIndex(Ramp::Grey, s)) return s;
    return -1;
}

TEST(ChipScene, SolidsLandWhereTheProjectionPutsThem) {
    const double centres[2][3] = {{0.2, 0.7, 0.3}, {0.8, 0.1, 0.9}};
    for (double scale : {1.0, 0.5}) {
        for (const auto& c : centres) {
            ChipScene scene;
            scene.Ellipsoid(c[0], c[1], c[2], 0.08, 0.08, 0.16, Flat(Ramp::Grey));
            TBMP256 b = Blank(scale);
            scene.Render(b, scale);
            double x, y;
            ChipScene::Project(c[0], c[1], c[2], scale, 0, x, y);
            EXPECT_NE(b.GetPixel(int(x), int(y)), 0) << scale;
            double sx = 0, sy = 0;
            const int n = Shown(b);
            ASSERT_GT(n, 0);
            for (int py = 0; py < b.Height(); ++py)
                for (int px = 0; px < b.Width(); ++px)
                    if (b.GetPixel(px, py)) sx += px + 0.5, sy += py + 0.5;
            EXPECT_NEAR(sx / n, x, 1.0);
            EXPECT_NEAR(sy / n, y, 1.0);
        }
    }
}

TEST(ChipScene, TheNearerSolidWinsWhateverTheOrder) {
    for (bool frontFirst : {false, true}) {
        ChipScene scene;
        const Shader back = [](const SurfacePoint&) { return Paint::Index(10); };
        const Shader front = [](const SurfacePoint&) { return Paint::Index(20); };
        // Same column of the picture; the box with the larger x + y lies in front.
        if (frontFirst) scene.Box(0.55, 0.95, 0.55, 0.95, 0, 0.5, front);
        scene.Box(0.05, 0.45, 0.05, 0.45, 0, 1.5, back);
        if (!frontFirst) scene.Box(0.55, 0.95, 0.55, 0.95, 0, 0.5, front);
        scene.SetOutline(0, false);
        scene.SetOutline(1, false);
        TBMP256 b = Blank(1);
        scene.Render(b, 1);
        double x, y;
        ChipScene::Project(0.75, 0.75, 0.5, 1, 0, x, y); // top of the front box
        EXPECT_EQ(b.GetPixel(int(x), int(y)), 20);
        ChipScene::Project(0.25, 0.25, 1.5, 1, 0, x, y); // top of the tall box behind
        EXPECT_EQ(b.GetPixel(int(x), int(y)), 10);
    }
}

TEST(ChipScene, TopsAreLitMostTheLeftSideLessTheRightSideLeast) {
    ChipScene scene;
    scene.SetOutline(scene.Box(0, 1, 0, 1, 0, 1, Flat(Ramp::Grey)), false);
    TBMP256 b = Blank(1);
    scene.Render(b, 1);
    const int top = ShadeAt(b, 32, 16), left = ShadeAt(b, 16, 34), right = ShadeAt(b, 48, 34);
    EXPECT_GT(top, left);
    EXPECT_GT(left, right);
    EXPECT_GE(right, 0);
}

TEST(ChipScene, OutlinesDarkenTheBorderOfASolid) {
    ChipScene scene;
    scene.Frustum(0.5, 0.5, 0, 1, 0.3, 0.3, Flat(Ramp::Grey, 2));
    TBMP256 b = Blank(1);
    scene.Render(b, 1);
    // Walk in from the left along the middle row: the first shown pixel is darker than the
    // one inside it.
    int x = 0;
    while (x < 64 && b.GetPixel(x, 30) == 0) ++x;
    ASSERT_LT(x + 3, 64);
    EXPECT_LT(ShadeAt(b, x, 30), ShadeAt(b, x + 3, 30));
}

TEST(ChipScene, AnObjectSplitOverItsLevelsAddsUpToTheWhole) {
    // A tree-like object three levels tall, seen from its lowest level's chip: the whole
    // render equals the level slices laid over each other 16 (8) pixels apart.
    for (double scale : {1.0, 0.5}) {
        ChipScene scene;
        scene.Frustum(0.5, 0.5, 0, 1.8, 0.1, 0.07, Flat(Ramp::Wood));
        scene.Ellipsoid(0.5, 0.5, 2.1, 0.38, 0.38, 0.8, Flat(Ramp::Foliage));
        scene.Ellipsoid(0.3, 0.6, 1.7, 0.22, 0.22, 0.44, Flat(Ramp::Foliage, -1));
        TBMP256 whole = Blank(scale);
        scene.Render(whole, scale);
        TBMP256 stacked = Blank(scale);
        const int step = int(16 * scale);
        for (int level = 0; level < 3; ++level) {
            TBMP256 slice = Blank(scale);
            scene.Render(slice, scale, level, level == 0 ? -ChipScene::Inf : level,
                         level == 2 ? ChipScene::Inf : level + 1);
            stacked.Blit(0, -level * step, slice, 0, 0, 0, 0, 0);
        }
        for (int y = 0; y < whole.Height(); ++y)
            for (int x = 0; x < whole.Width(); ++x)
                ASSERT_EQ(stacked.GetPixel(x, y), whole.GetPixel(x, y))
                    << x << "," << y << " scale " << scale;
    }
}

} // namespace
