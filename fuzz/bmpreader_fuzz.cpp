// Fuzzes the reader of 8-bit BMP images (the overlay images): a refused image leaves the
// target picture exactly as it was; an accepted one holds the pixels and colours that a plain
// reading of the header fields finds in the bytes.
//
// Input: the bytes of the image file.
#include "fuzz/fuzzutil.h"
#include "graphics/bmpreader.h"
#include "map/maperror.h"
#include "tests/picturetestutil.h"

#include <cstring>

using namespace quarvel;
using namespace quarvel::fuzz;

namespace {

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

const TBMP256& Earlier() {
    static const TBMP256 pic = [] {
        TBMP256 p;
        p.SetSize(5, 3);
        p.Fill(9);
        Palette pal{};
        pal[9] = {1, 2, 3, 4};
        p.SetPalette(pal);
        return p;
    }();
    return pic;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TBMP256 out = Earlier();
    try {
        ReadBMP256(data, size, out);
    } catch (const QuarvelError&) {
        Check(test::SamePixels(out, Earlier()) && out.GetPalette() == Earlier().GetPalette(),
              "a refused image changed the picture");
        return 0;
    }
    // Accepted: the file header, the info header and its fields lie inside the bytes.
    Check(size >= 54, "an image shorter than its headers was accepted");
    const uint8_t* info = data + 14;
    const int32_t width = int32_t(U32(info + 4)), rawHeight = int32_t(U32(info + 8));
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    Check(out.Width() == width && out.Height() == height, "the picture has the wrong size");
    const size_t stride = (size_t(width) + 3) / 4 * 4;
    const size_t pixels = U32(data + 10);
    for (int y = 0; y < height; ++y) {
        const size_t fileRow = size_t(rawHeight < 0 ? y : height - 1 - y);
        Check(pixels + fileRow * stride + size_t(width) <= size,
              "pixel rows past the end were accepted");
        Check(std::memcmp(out.Row(y), data + pixels + fileRow * stride, size_t(width)) == 0,
              "a pixel row differs from the file");
    }
    const size_t table = 14 + U32(info);
    size_t colours = U32(info + 32);
    if (colours == 0) colours = 256;
    for (size_t i = 0; i < 256; ++i) {
        PaletteEntry e{};
        if (i < colours)
            e = {data[table + 4 * i + 2], data[table + 4 * i + 1], data[table + 4 * i], 0};
        Check(out.GetPalette()[i] == e, "a palette entry differs from the colour table");
    }
    return 0;
}
