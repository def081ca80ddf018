// TBMP256: pixel storage, checked pixel access, fills and the clipped, transparent Blit.
#include "graphics/bmp256.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace quarvel {

uint8_t NearestIndex(const Palette& palette, TColor color) {
    const int r = int(color & 0xFF);
    const int g = int((color >> 8) & 0xFF);
    const int b = int((color >> 16) & 0xFF);
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 256; ++i) {
        const int dr = palette[i].Red - r;
        const int dg = palette[i].Green - g;
        const int db = palette[i].Blue - b;
        const long d = long(dr) * dr + long(dg) * dg + long(db) * db;
        if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
            if (d == 0) break;
        }
    }
    return uint8_t(best);
}

void TBMP256::SetSize(int width, int height) {
    if (width < 0 || height < 0)
        throw std::out_of_range("picture size out of range: " + std::to_string(width) + " x " +
                                std::to_string(height));
    decltype(Pixels) pixels(size_t(width) * size_t(height), 0);
    Pixels.swap(pixels);
    W = width;
    H = height;
}

static void CheckPixel(int x, int y, int w, int h) {
    if (x < 0 || x >= w || y < 0 || y >= h)
        throw std::out_of_range("pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") outside a " + std::to_string(w) + " x " + std::to_string(h) +
                                " picture");
}

uint8_t TBMP256::GetPixel(int x, int y) const {
    CheckPixel(x, y, W, H);
    return Pixels[size_t(y) * size_t(W) + size_t(x)];
}

void TBMP256::SetPixel(int x, int y, uint8_t value) {
    CheckPixel(x, y, W, H);
    Pixels[size_t(y) * size_t(W) + size_t(x)] = value;
}

void TBMP256::Fill(uint8_t index) {
    if (!Pixels.empty()) std::memset(Pixels.data(), index, Pixels.size());
}

namespace {

constexpr uint64_t Ones = 0x0101010101010101ull;
constexpr uint64_t Low7 = 0x7F7F7F7F7F7F7F7Full;
constexpr uint64_t High = 0x8080808080808080ull;

// Copies n bytes from s to d, skipping bytes equal to key. Eight bytes at a time: the high
// bit of each byte of `keep` tells whether that source byte differs from the key.
void CopyRowKeyed(uint8_t* d, const uint8_t* s, size_t n, uint8_t key) {
    const uint64_t k = Ones * key;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t sv;
        std::memcpy(&sv, s + i, 8);
        const uint64_t x = sv ^ k;
        const uint64_t keep = (((x & Low7) + Low7) | x) & High;
        if (keep == 0) continue;
        if (keep == High) {
            std::memcpy(d + i, &sv, 8);
            continue;
        }
        const uint64_t mask = (keep >> 7) * 0xFF;
        uint64_t dv;
        std::memcpy(&dv, d + i, 8);
        dv = (sv & mask) | (dv & ~mask);
        std::memcpy(d + i, &dv, 8);
    }
    for (; i < n; ++i)
        if (s[i] != key) d[i] = s[i];
}

// The same for a copy within one row of one picture, where the ranges may overlap: walks
// away from the overlap so that every source byte is read before it is overwritten.
void CopyRowKeyedOverlapping(uint8_t* d, const uint8_t* s, size_t n, int key) {
    if (d > s) {
        for (size_t i = n; i-- > 0;)
            if (s[i] != key) d[i] = s[i];
    } else {
        for (size_t i = 0; i < n; ++i)
            if (s[i] != key) d[i] = s[i];
    }
}

} // namespace

void TBMP256::Blit(int DX, int DY, const TBMP256& Src, int Transparent, int SrcX, int SrcY, int W,
                   int H) {
    if (W == 0) W = Src.W;
    if (H == 0) H = Src.H;
    // Clip against this picture only; 64-bit so that far-away positions cannot overflow.
    const long long c0 = std::max<long long>(-(long long)DX, 0);
    const long long r0 = std::max<long long>(-(long long)DY, 0);
    const long long c1 = std::min<long long>((long long)this->W - DX, W) - 1;
    const long long r1 = std::min<long long>((long long)this->H - DY, H) - 1;
    if (c1 < c0 || r1 < r0) return;

    // What is left must be readable in the source; a rectangle reaching outside it is refused
    // before anything is written.
    const long long sx0 = (long long)SrcX + c0, sx1 = (long long)SrcX + c1;
    const long long sy0 = (long long)SrcY + r0, sy1 = (long long)SrcY + r1;
    if (sx0 < 0 || sy0 < 0 || sx1 >= Src.W || sy1 >= Src.H)
        throw std::out_of_range("Blit reads outside the source picture");

    const size_t n = size_t(c1 - c0 + 1);
    const int rows = int(r1 - r0 + 1);
    const size_t dStride = size_t(this->W), sStride = size_t(Src.W);
    uint8_t* d = Pixels.data() + size_t(DY + r0) * dStride + size_t(DX + c0);
    const uint8_t* s = Src.Pixels.data() + size_t(sy0) * sStride + size_t(sx0);
    const bool opaque = Transparent < 0 || Transparent > 255;

    if (&Src == this) {
        // Copy within one picture: take the rows in the order that reads each source row
        // before it is written, and handle same-row overlap byte by byte.
        const bool upward = DY + r0 > sy0;
        for (int j = 0; j < rows; ++j) {
            const int row = upward ? rows - 1 - j : j;
            uint8_t* dr = d + size_t(row) * dStride;
            const uint8_t* sr = s + size_t(row) * sStride;
            if (opaque)
                std::memmove(dr, sr, n);
            else
                CopyRowKeyedOverlapping(dr, sr, n, Transparent);
        }
        return;
    }

    if (opaque) {
        for (int j = 0; j < rows; ++j, d += dStride, s += sStride) std::memcpy(d, s, n);
    } else {
        const uint8_t key = uint8_t(Transparent);
        for (int j = 0; j < rows; ++j, d += dStride, s += sStride) CopyRowKeyed(d, s, n, key);
    }
}

} // namespace quarvel
