// The demonstration map: placed chip by chip through SetChip, then shaped.
#include "content/demomap.h"

#include "map/mapclass.h"

#include <string>

namespace quarvel {

namespace {

// "デモマップ" in code page 932.
const char DemoName[] = "\x83\x66\x83\x82\x83\x7D\x83\x62\x83\x76";

// The river runs along y, two cells wide, stepping east twice.
int RiverX(int y) {
    return y < 10 ? 12 : y < 20 ? 13 : 14;
}
bool IsRiver(int x, int y) {
    return x == RiverX(y) || x == RiverX(y) + 1;
}

struct Builder {
    TMap& Map;
    void Put(int x, int y, int z, int chip) { Map.SetChip(x, y, z, uint8_t(chip)); }
    void Fill(int x0, int x1, int y0, int y1, int z, int chip) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) Put(x, y, z, chip);
    }

    // Lowland two levels deep (its top on level 1), the river cut into it on level 0.
    void Land() {
        for (int y = 0; y < TMap::SizeY; ++y) {
            for (int x = 0; x < TMap::SizeX; ++x) {
                if (IsRiver(x, y)) {
                    Put(x, y, 0, 83);
                } else {
                    Put(x, y, 0, 5);
                    Put(x, y, 1, 5);
                }
            }
        }
        // a meadow and a dirt road to the bridge
        Fill(16, 20, 17, 22, 1, 13);
        Fill(0, 31, 6, 6, 1, 9);
        // a boulder on the bank
        Put(11, 3, 1, 111);
    }

    void Crossings() {
        const int y1 = 6, y2 = 25;
        Put(RiverX(y1), y1, 1, 58);
        Put(RiverX(y1) + 1, y1, 1, 58);
        Put(RiverX(y2), y2, 1, 69);
        Put(RiverX(y2) + 1, y2, 1, 69);
        Put(RiverX(15), 15, 1, 80); // landing stage
    }

    // Terraced hills: levels 2, 3 and 4 over the lowland, with stairs, an elevator, cave
    // entrances, a nest, enemies, treasure and the seal on top.
    void Hills() {
        Fill(19, 29, 2, 11, 2, 5);
        Fill(21, 28, 3, 9, 3, 5);
        Fill(23, 27, 4, 9, 4, 5);
        Put(24, 12, 2, 81); // up from the lowland toward y-1
        Put(29, 6, 3, 82);  // up the second terrace toward x-1
        Put(22, 11, 2, 116);
        Put(29, 4, 2, 117);
        Put(21, 2, 2, 112);
        // elevator: bottom on level 2, shaft, top beside the summit
        Put(23, 10, 2, 120);
        Put(23, 10, 3, 122);
        Put(23, 10, 4, 121);
        Put(20, 3, 3, 50);
        Put(27, 10, 3, 51);
        Put(25, 5, 5, 52);
        Put(24, 7, 5, 125);
        Put(26, 8, 5, 126);
        Put(22, 5, 4, 127);
        Put(27, 5, 5, 49); // seal (its upper half goes on level 6)
        for (const auto& c : {std::pair{20, 9}, {28, 2}, {19, 11}, {29, 10}})
            Put(c.first, c.second, 3, 38);
        Fill(23, 23, 4, 4, 5, 53);
    }

    // A walled castle on level 2: towers at the corners, walls between, one gate, paving,
    // the king and a tent inside.
    void Castle(int x0, int x1, int y0, int y1, int country, int gateX, int gateY, int gate) {
        Fill(x0, x1, y0, y1, 1, 21);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const bool edgeX = x == x0 || x == x1, edgeY = y == y0 || y == y1;
                if (edgeX && edgeY)
                    Put(x, y, 2, 156 + country);
                else if (edgeX || edgeY)
                    Put(x, y, 2, 152 + country);
            }
        }
        Put(gateX, gateY, 2, gate);
        Put((x0 + x1) / 2, (y0 + y1) / 2 - 1, 2, 128 + country);
        Put(x0 + 2, y1 - 2, 2, 132 + country);
        Put(x1 - 2, y1 - 2, 2, 124);
    }

    void Countries() {
        Castle(2, 9, 19, 27, 0, 6, 27, 136);    // green: gate in the south wall
        Castle(21, 29, 20, 28, 1, 29, 24, 141); // red: gate in the east wall
        Fill(6, 6, 28, 31, 1, 17);              // paved road from the green gate
        Fill(30, 31, 24, 24, 1, 17);            // and from the red one
        // villages, fields and fences
        Put(3, 14, 2, 29);
        Put(6, 13, 2, 29);
        Put(4, 11, 2, 29);
        Put(19, 15, 2, 30);
        Put(22, 16, 2, 30);
        Put(25, 15, 2, 30);
        Fill(2, 5, 8, 9, 2, 25);
        Fill(2, 5, 10, 10, 2, 41);
        Fill(6, 6, 8, 9, 2, 43);
        Fill(26, 29, 13, 16, 2, 26);
        Fill(26, 29, 17, 17, 2, 45);
        Fill(30, 30, 13, 16, 2, 47);
        Put(8, 12, 2, 54);
        Put(7, 15, 2, 55);
        Put(8, 15, 2, 56);
        Put(10, 7, 2, 57);
        Put(23, 14, 2, 39);
        Put(7, 16, 2, 53);
        Put(17, 12, 2, 53);
        Put(1, 29, 2, 50);
    }

    void Woods() {
        const int broadleaf[][2] = {{8, 3},   {9, 1},   {3, 3},   {5, 1},   {16, 10}, {17, 14},
                                    {10, 15}, {16, 28}, {18, 25}, {11, 22}, {1, 16}};
        for (const auto& c : broadleaf) Put(c[0], c[1], 2, 35);
        const int conifer[][2] = {{1, 1}, {16, 2}, {30, 30}, {19, 30}, {10, 29}, {0, 24}};
        for (const auto& c : conifer) Put(c[0], c[1], 2, 38);
    }
};

} // namespace

void BuildDemoMap(TMap& map) {
    map.Clear();
    map.UndoBuf.BeginStep();
    Builder b{map};
    b.Land();
    b.Crossings();
    b.Hills();
    b.Countries();
    b.Woods();
    map.Shape();
    map.SetName(DemoName);
    map.SetTerrain(0);
    map.UndoBuf.Reset();
}

} // namespace quarvel
