// Writes the edit view's six overlay images (cursor box, cell grid, selection outline, each
// large and small) as 8-bit BMP files: quarvel-overlaygen [FOLDER] (default "resources").
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Image {
    int W = 0, H = 0;
    std::vector<uint8_t> Pixels;
    Image(int w, int h) : W(w), H(h), Pixels(size_t(w) * size_t(h), 0) {}
    void Set(int x, int y, uint8_t v) { Pixels[size_t(y) * size_t(W) + size_t(x)] = v; }
};

// The outline of a cell's top face in the upper two thirds of a chip of width w: in row r
// of the upper half two 2-pixel segments, mirrored into the lower half. `mark` (index 255
// on the grid, or the line index) is the pixel at the right of the left segment in even
// rows and at the right of the right segment in odd rows.
void DrawDiamond(Image& img, uint8_t line, uint8_t mark) {
    const int half = img.W / 2; // 32 or 16
    const int rows = img.H / 3; // 16 or 8: rows of the upper half
    for (int r = 0; r < rows; ++r) {
        const int left = half - 2 - 2 * r; // columns left, left + 1
        const int right = half + 2 * r;    // columns right, right + 1
        for (int y : {r, 2 * rows - 1 - r}) {
            img.Set(left, y, line);
            img.Set(left + 1, y, line);
            img.Set(right, y, line);
            img.Set(right + 1, y, line);
            img.Set(r % 2 == 0 ? left + 1 : right + 1, y, mark);
        }
    }
}

// The wire box of a cell: the top face, the two outer vertical edges and the two lower edges.
void DrawBox(Image& img, uint8_t line) {
    DrawDiamond(img, line, line);
    const int t = img.H / 3;
    for (int y = t; y <= 2 * t; ++y) {
        img.Set(0, y, line);
        img.Set(img.W - 1, y, line);
    }
    for (int r = 0; r < t; ++r) {
        const int y = 2 * t + r;
        img.Set(2 * r, y, line);
        img.Set(2 * r + 1, y, line);
        img.Set(img.W - 2 - 2 * r, y, line);
        img.Set(img.W - 1 - 2 * r, y, line);
    }
}

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// 8-bit BMP: file header, BITMAPINFOHEADER, a grey ramp of 256 colours, bottom-up rows
// padded to four bytes.
bool WriteBmp(const std::string& path, const Image& img) {
    const uint32_t stride = (uint32_t(img.W) + 3u) & ~3u;
    const uint32_t offset = 14 + 40 + 256 * 4;
    const uint32_t imageSize = stride * uint32_t(img.H);
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, offset + imageSize);
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, uint32_t(img.W));
    Put32(b, uint32_t(img.H));
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, 0); // BI_RGB
    Put32(b, imageSize);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 256);
    Put32(b, 0);
    for (int i = 0; i < 256; ++i) {
        b.push_back(uint8_t(i)); // blue, green, red, reserved
        b.push_back(uint8_t(i));
        b.push_back(uint8_t(i));
        b.push_back(0);
    }
    for (int y = img.H - 1; y >= 0; --y) {
        const uint8_t* row = img.Pixels.data() + size_t(y) * size_t(img.W);
        b.insert(b.end(), row, row + img.W);
        b.insert(b.end(), stride - uint32_t(img.W), 0);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
    out.close();
    return bool(out);
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "resources";
    const int sizes[2][2] = {{64, 48}, {32, 24}};
    const char* const suffixes[2] = {"", "_s"};
    for (int s = 0; s < 2; ++s) {
        Image cur(sizes[s][0], sizes[s][1]);
        Image grid(sizes[s][0], sizes[s][1]);
        Image selected(sizes[s][0], sizes[s][1]);
        DrawBox(cur, 249);
        DrawDiamond(grid, 164, 255);
        DrawDiamond(selected, 251, 251);
        const std::string sfx = suffixes[s];
        for (const auto& [name, img] : {std::pair<std::string, const Image*>{"cur", &cur},
                                        {"grid", &grid},
                                        {"selected", &selected}}) {
            const std::string path = dir + "/" + name + sfx + ".bmp";
            if (!WriteBmp(path, *img)) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
