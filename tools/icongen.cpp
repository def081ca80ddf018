// Draws the program's icon from the default chip art (a village with green roofs on a
// grass block) as RGBA PNG files: quarvel-icongen [FOLDER] (default "resources/icons").
#include "content/defaultchips.h"

#include <png.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using quarvel::TBMP256;

constexpr int TerrainSet = 0;
constexpr int GroundChip = 5;  // grass
constexpr int ObjectChip = 29; // a village of the first country, green roofs
constexpr int Art = 64;        // the art is drawn at the large chip size: 64 x 64 pixels
const int Sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

struct Rgba {
    int W = 0, H = 0;
    std::vector<uint8_t> Px; // r, g, b, a per pixel
    Rgba(int w, int h) : W(w), H(h), Px(size_t(w) * size_t(h) * 4, 0) {}
    uint8_t* At(int x, int y) { return Px.data() + (size_t(y) * size_t(W) + size_t(x)) * 4; }
    const uint8_t* At(int x, int y) const {
        return Px.data() + (size_t(y) * size_t(W) + size_t(x)) * 4;
    }
};

// The ground chip with the object chip one level above it, as the edit view stacks them
// (a level is 16 pixels at the large size): a 64 x 64 picture, transparent around.
Rgba DrawArt() {
    TBMP256 ground, object;
    quarvel::DrawDefaultChip(GroundChip, TerrainSet, 0, ground);
    quarvel::DrawDefaultChip(ObjectChip, TerrainSet, 0, object);
    TBMP256 art;
    art.SetSize(Art, Art);
    art.Blit(0, Art - ground.Height(), ground, 0, 0, 0, 0, 0);
    art.Blit(0, Art - ground.Height() - 16, object, 0, 0, 0, 0, 0);
    const quarvel::Palette& pal = ground.GetPalette();
    Rgba out(Art, Art);
    for (int y = 0; y < Art; ++y)
        for (int x = 0; x < Art; ++x) {
            const uint8_t i = art.GetPixel(x, y);
            if (i == 0) continue; // transparent
            uint8_t* p = out.At(x, y);
            p[0] = pal[i].Red, p[1] = pal[i].Green, p[2] = pal[i].Blue, p[3] = 255;
        }
    return out;
}

// Larger sizes repeat each art pixel (the chip art stays crisp); smaller ones average the
// art pixels each icon pixel covers, weighted by the covered area, colour by alpha.
Rgba Scale(const Rgba& art, int size) {
    Rgba out(size, size);
    if (size >= art.W) {
        const int k = size / art.W;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const uint8_t* s = art.At(x / k, y / k);
                std::copy(s, s + 4, out.At(x, y));
            }
        return out;
    }
    const double step = double(art.W) / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double sum[4] = {0, 0, 0, 0}, area = 0;
            for (int sy = int(y * step); sy < art.H && sy < (y + 1) * step; ++sy) {
                const double wy =
                    std::min(double(sy + 1), (y + 1) * step) - std::max(double(sy), y * step);
                for (int sx = int(x * step); sx < art.W && sx < (x + 1) * step; ++sx) {
                    const double wx =
                        std::min(double(sx + 1), (x + 1) * step) - std::max(double(sx), x * step);
                    const uint8_t* s = art.At(sx, sy);
                    const double w = wx * wy, a = s[3] * w;
                    for (int c = 0; c < 3; ++c) sum[c] += s[c] * a;
                    sum[3] += a;
                    area += w;
                }
            }
            uint8_t* p = out.At(x, y);
            if (sum[3] <= 0) continue;
            for (int c = 0; c < 3; ++c) p[c] = uint8_t(std::lround(sum[c] / sum[3]));
            p[3] = uint8_t(std::lround(sum[3] / area));
        }
    return out;
}

// Fixed settings and no time stamp, so the same picture gives the same bytes.
bool WritePng(const std::string& path, const Rgba& img) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info;
    if (ok && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_set_compression_level(png, 9);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
        png_set_IHDR(png, info, png_uint_32(img.W), png_uint_32(img.H), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
        png_write_info(png, info);
        for (int y = 0; y < img.H; ++y) png_write_row(png, img.At(0, y));
        png_write_end(png, nullptr);
    } else {
        ok = false;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "resources/icons";
    const Rgba art = DrawArt();
    for (int size : Sizes) {
        const std::string path = dir + "/quarvel-" + std::to_string(size) + ".png";
        if (!WritePng(path, Scale(art, size))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
