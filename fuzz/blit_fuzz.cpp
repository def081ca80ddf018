// Fuzzes TBMP256::Blit against the per-pixel copy of the tests: any position, size and
// transparent index, also far outside both pictures and within one picture. A rectangle that
// would read outside the source must be refused before anything is written.
//
// Input: the sizes of both pictures, the eight arguments (small or anywhere in the int range),
// whether the copy stays within one picture, then the pixels (repeated to fill both).
#include "fuzz/fuzzutil.h"
#include "tests/picturetestutil.h"

#include <algorithm>
#include <stdexcept>

using namespace quarvel;
using namespace quarvel::fuzz;

namespace {

// A position or size: mostly near the pictures, sometimes anywhere.
int Coordinate(Input& in) {
    const uint8_t how = in.Byte();
    if (how < 16) return in.Any32();
    return in.Int(-80, 175);
}

void FillFrom(TBMP256& pic, const std::string& pixels, size_t& pos) {
    for (int y = 0; y < pic.Height(); ++y)
        for (int x = 0; x < pic.Width(); ++x)
            pic.Row(y)[x] =
                pixels.empty() ? uint8_t(x ^ y) : uint8_t(pixels[pos++ % pixels.size()]);
}

// Whether every source pixel the copy needs lies inside the source: the columns and rows
// left after clipping the rectangle against the destination.
bool ReadsInside(const TBMP256& d, long long dx, long long dy, const TBMP256& s, long long sx,
                 long long sy, long long w, long long h) {
    if (w == 0) w = s.Width();
    if (h == 0) h = s.Height();
    const long long c0 = std::max(-dx, 0LL), r0 = std::max(-dy, 0LL);
    const long long c1 = std::min(d.Width() - dx, w) - 1, r1 = std::min(d.Height() - dy, h) - 1;
    if (c1 < c0 || r1 < r0) return true; // nothing to copy
    return sx + c0 >= 0 && sy + r0 >= 0 && sx + c1 < s.Width() && sy + r1 < s.Height();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    TBMP256 dest, src;
    dest.SetSize(in.Int(0, 96), in.Int(0, 96));
    src.SetSize(in.Int(0, 96), in.Int(0, 96));
    const int dx = Coordinate(in), dy = Coordinate(in), sx = Coordinate(in), sy = Coordinate(in);
    const int w = Coordinate(in), h = Coordinate(in);
    const uint8_t t = in.Byte();
    const int transparent = t < 200    ? t % 8
                            : t < 250  ? t
                            : t == 250 ? -1
                            : t == 251 ? 256
                                       : in.Any32();
    const bool within = in.Flag();
    const std::string pixels = in.Rest();
    size_t pos = 0;
    FillFrom(dest, pixels, pos);
    FillFrom(src, pixels, pos);
    const TBMP256& source = within ? dest : src;

    // The per-pixel copy reads from a snapshot, as a copy within one picture must behave.
    TBMP256 want = dest;
    const TBMP256 snapshot = source;
    const bool inside = ReadsInside(dest, dx, dy, snapshot, sx, sy, w, h);
    if (inside) test::PlainBlit(want, dx, dy, snapshot, transparent, sx, sy, w, h);

    bool refused = false;
    try {
        dest.Blit(dx, dy, source, transparent, sx, sy, w, h);
    } catch (const std::out_of_range&) {
        refused = true;
    }
    Check(refused == !inside, refused ? "Blit refused a copy that reads inside the source"
                                      : "Blit did not refuse a copy that reads outside the source");
    Check(test::SamePixels(dest, want),
          refused ? "a refused Blit wrote pixels" : "Blit differs from the per-pixel copy");
    return 0;
}
