// Tests of the info panel's place: beside the edit view, whole inside the screen's working
// area, on the screens and scales users have.
#include "editor/windowplace.h"

#include <gtest/gtest.h>

#include <random>

using namespace quarvel;

namespace {

bool Inside(ScreenPoint p, int w, int h, const ScreenRect& area) {
    return p.X >= area.Left && p.Y >= area.Top && p.X + w <= area.Right() &&
           p.Y + h <= area.Bottom();
}

// The panel's outer frame at scale 1: 240 x 360 inside, a border and a title bar around it.
constexpr int PanelWidth = 242, PanelHeight = 381;

TEST(InfoPanelPlace, WholeOnEveryScreenAndScale) {
    const int screens[][2] = {{1024, 768}, {1280, 800}, {1600, 1000}};
    for (const auto& size : screens) {
        for (const double scale : {1.0, 1.5, 2.0}) {
            SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]) + " at " +
                         std::to_string(scale));
            // In logical pixels the screen shrinks with the scale; a bar of 26 px at its top.
            const int w = int(size[0] / scale), h = int(size[1] / scale);
            const ScreenRect area{0, 26, w, h - 26};
            // The maximised frame's edit view, cascaded: nearly the whole width.
            const ScreenRect edit{0, 26 + 44, w - 60, h - 26 - 44 - 120};
            const ScreenPoint p = InfoPanelPlace(edit, PanelWidth, PanelHeight, area);
            EXPECT_EQ(p.X + PanelWidth, area.Right()); // as far right as it can stay whole
            if (PanelHeight <= area.Height)
                EXPECT_TRUE(Inside(p, PanelWidth, PanelHeight, area)) << p.X << "," << p.Y;
            else
                EXPECT_EQ(p.Y, area.Top); // too high: its title bar stays reachable
        }
    }
}

// Against a plain rule on random screens: where the place beside the edit view is whole on
// the screen it is kept; otherwise the panel is moved the least, along each axis, that
// brings it inside (or, when it cannot fit, to the area's top or left edge).
TEST(InfoPanelPlace, BesideTheEditViewUnlessThatLeavesTheScreen) {
    std::mt19937 random(16);
    auto any = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int i = 0; i < 20000; ++i) {
        const ScreenRect area{any(-2000, 2000), any(-2000, 2000), any(1, 3000), any(1, 2000)};
        const ScreenRect edit{any(-3000, 5000), any(-3000, 4000), any(0, 3000), any(0, 2000)};
        const int pw = any(1, 800), ph = any(1, 800);
        const ScreenPoint p = InfoPanelPlace(edit, pw, ph, area);
        int x = edit.Left + edit.Width, y = edit.Top;
        while (x + pw > area.Left + area.Width && x > area.Left) --x;
        while (x < area.Left) ++x;
        while (y + ph > area.Top + area.Height && y > area.Top) --y;
        while (y < area.Top) ++y;
        ASSERT_EQ(p.X, x) << i;
        ASSERT_EQ(p.Y, y) << i;
        if (pw <= area.Width && ph <= area.Height) {
            ASSERT_TRUE(Inside(p, pw, ph, area));
        }
    }
}

} // namespace
