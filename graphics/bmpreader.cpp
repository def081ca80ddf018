// Reading 8-bit palette BMP images: every field is checked against the data before use.
#include "graphics/bmpreader.h"

#include "map/maperror.h"

#include <cstring>
#include <string>
#include <utility>

namespace quarvel {

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t MinInfoSize = 40;
constexpr int32_t MaxSide = 32768;

uint32_t U32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t U16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

[[noreturn]] void Fail(const std::string& why) {
    throw QuarvelError(ErrorKind::BadImage, FileRole::File, "").Detail(why);
}

} // namespace

void ReadBMP256(const uint8_t* data, size_t size, TBMP256& out) {
    if (!data || size < FileHeaderSize + MinInfoSize) Fail("too short for its headers");
    if (data[0] != 'B' || data[1] != 'M') Fail("no 'BM' signature");
    const uint64_t pixelOffset = U32(data + 10);
    const uint8_t* info = data + FileHeaderSize;
    const uint64_t infoSize = U32(info);
    if (infoSize < MinInfoSize)
        Fail("unsupported info header of " + std::to_string(infoSize) + " bytes");
    if (FileHeaderSize + infoSize > size) Fail("info header runs past the end");

    const int32_t width = int32_t(U32(info + 4));
    const int32_t rawHeight = int32_t(U32(info + 8));
    const uint16_t planes = U16(info + 12);
    const uint16_t bits = U16(info + 14);
    const uint32_t compression = U32(info + 16);
    uint32_t colours = U32(info + 32);
    if (planes != 1) Fail("plane count " + std::to_string(planes));
    if (bits != 8) Fail(std::to_string(bits) + " bits per pixel, not 8");
    if (compression != 0) Fail("compressed pixels");
    if (width <= 0 || width > MaxSide) Fail("width " + std::to_string(width));
    if (rawHeight == 0 || rawHeight < -MaxSide || rawHeight > MaxSide)
        Fail("height " + std::to_string(rawHeight));
    if (colours == 0) colours = 256;
    if (colours > 256) Fail(std::to_string(colours) + " colours");

    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    const uint64_t tableOffset = FileHeaderSize + infoSize;
    if (tableOffset + uint64_t(colours) * 4 > size) Fail("colour table runs past the end");
    const uint64_t stride = (uint64_t(width) + 3) & ~uint64_t(3);
    if (pixelOffset < tableOffset || pixelOffset + stride * uint64_t(height) > size)
        Fail("pixel rows run past the end");

    Palette pal{};
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t* e = data + tableOffset + i * 4; // blue, green, red, reserved
        pal[i].Blue = e[0];
        pal[i].Green = e[1];
        pal[i].Red = e[2];
    }
    TBMP256 img;
    img.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        std::memcpy(img.Row(y), data + pixelOffset + uint64_t(fileRow) * stride, size_t(width));
    }
    img.SetPalette(pal);
    out = std::move(img);
}

} // namespace quarvel
