// Tests of quarvel-cli chips export and chips import: chip sheets as PNG files and back,
// byte for byte, true-colour pictures over a known palette, and bad input that writes
// nothing.
#include "graphics/chipsheet.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <png.h>
#include <random>
#include <set>
#include <unistd.h>

using namespace quarvel;
using quarvel::test::ReadBytes;
using quarvel::test::RunCli;
using quarvel::test::TempDir;
using quarvel::test::WriteBytes;

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

std::string Q(const std::string& s) {
    return "'" + s + "'";
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every file below `dir` with its bytes: what a failed command must leave as it was.
std::map<std::string, Bytes> Snapshot(const std::string& dir) {
    std::map<std::string, Bytes> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) files[e.path().string()] = ReadBytes(e.path().string());
    return files;
}

// ---- PNG files made and read with libpng as it stands -------------------------------------

struct Png {
    int Width = 0, Height = 0, ColourType = 0, BitDepth = 8;
    Bytes Pixels;                   // rows as stored, without filter bytes
    std::vector<png_color> Colours; // PLTE
    Bytes Alpha;                    // tRNS of an indexed picture
    Bytes Flags;                    // the private flags chunk
};

void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

bool WriteInto(std::FILE* f, const Png& p) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(p.Width), png_uint_32(p.Height), p.BitDepth, p.ColourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!p.Colours.empty()) png_set_PLTE(png, info, p.Colours.data(), int(p.Colours.size()));
    png_write_info(png, info);
    const size_t rowBytes = p.Pixels.size() / size_t(p.Height);
    for (int y = 0; y < p.Height; ++y) png_write_row(png, p.Pixels.data() + rowBytes * size_t(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

void WritePng(const std::string& path, const Png& p) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    const bool ok = WriteInto(f, p);
    std::fclose(f);
    ASSERT_TRUE(ok);
}

bool ReadFrom(std::FILE* f, Png& p) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, f);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_ALWAYS,
                                reinterpret_cast<png_const_bytep>("qfLG"), 1);
    png_read_info(png, info);
    p.Width = int(png_get_image_width(png, info));
    p.Height = int(png_get_image_height(png, info));
    p.ColourType = png_get_color_type(png, info);
    p.BitDepth = png_get_bit_depth(png, info);
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colours, &count)) p.Colours.assign(colours, colours + count);
    png_bytep alpha = nullptr;
    int alphaCount = 0;
    if (png_get_tRNS(png, info, &alpha, &alphaCount, nullptr))
        p.Alpha.assign(alpha, alpha + alphaCount);
    const size_t rowBytes = png_get_rowbytes(png, info);
    p.Pixels.resize(rowBytes * size_t(p.Height));
    for (int y = 0; y < p.Height; ++y)
        png_read_row(png, p.Pixels.data() + rowBytes * size_t(y), nullptr);
    png_read_end(png, info);
    png_unknown_chunkp chunks = nullptr;
    const int n = png_get_unknown_chunks(png, info, &chunks);
    for (int i = 0; i < n; ++i)
        if (std::memcmp(chunks[i].name, "qfLG", 4) == 0)
            p.Flags.assign(chunks[i].data, chunks[i].data + chunks[i].size);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

Png ReadPng(const std::string& path) {
    Png p;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    EXPECT_TRUE(f) << path;
    if (!f) return p;
    EXPECT_TRUE(ReadFrom(f, p)) << path;
    std::fclose(f);
    return p;
}

// The picture of an exported sheet in true colour: RGBA, or RGB when `alpha` is false.
Png TrueColour(const Png& sheet, bool alpha) {
    Png p;
    p.Width = sheet.Width, p.Height = sheet.Height;
    p.ColourType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    for (uint8_t i : sheet.Pixels) {
        const png_color c = sheet.Colours[i];
        p.Pixels.insert(p.Pixels.end(), {c.red, c.green, c.blue});
        if (alpha) p.Pixels.push_back(i < sheet.Alpha.size() ? sheet.Alpha[i] : 255);
    }
    return p;
}

// ---- Chip files ---------------------------------------------------------------------------

constexpr size_t SheetBytes[2] = {168 * 64 * 48, 168 * 32 * 24};
const char* const Sizes[2] = {"", " --small"};

std::string PixelFile(const std::string& dir, int size) {
    return dir + "/B_010" + (size ? "s.2c" : ".2c");
}
std::string PaletteFile(const std::string& dir, int size) {
    return dir + "/B_010" + (size ? "s.pal" : ".pal");
}

// Random chip files of terrain set 1 with flags bytes that are not zero and a palette in
// which some colours stand more than once.
void WriteRandomSet(const std::string& dir, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int size = 0; size < 2; ++size) {
        Bytes pixels(SheetBytes[size]), pal(1024);
        for (auto& b : pixels) b = uint8_t(rng());
        for (auto& b : pal) b = uint8_t(rng());
        std::memcpy(pal.data() + 122 * 4, pal.data() + 117 * 4, 3); // indices 10 and 5: one colour
        // The transparent index 3 shares its colour with index 200.
        pixels[0] = 3;
        std::memcpy(pal.data() + size_t((200 + 112) % 256) * 4, pal.data() + 115 * 4, 3);
        WriteBytes(PixelFile(dir, size), pixels);
        WriteBytes(PaletteFile(dir, size), pal);
    }
}

class ChipsPng : public ::testing::Test {
protected:
    TempDir Tmp;
    std::string Chips = Tmp.File("chip");
    void SetUp() override { fs::create_directory(Chips); }
    std::string Export(int size, const std::string& out) {
        auto r = RunCli("chips export " + Q(Chips) + " B_010 " + Q(out) + Sizes[size]);
        EXPECT_EQ(r.Status, 0) << r.Err;
        return out;
    }
    test::RunResult Import(const std::string& png, int size, const std::string& more = "") {
        return RunCli("chips import " + Q(png) + " " + Q(Chips) + " B_010" + Sizes[size] + more);
    }
};

TEST_F(ChipsPng, DefaultSetRoundTripIsByteExact) {
    ASSERT_EQ(RunCli("chips " + Q(Chips)).Status, 0);
    const auto before = Snapshot(Chips);
    for (int set = 0; set < 4; ++set)
        for (int size = 0; size < 2; ++size) {
            const std::string stem = std::string(TerrainFileNames[set]);
            const std::string png = Tmp.File(stem + Sizes[size] + ".png");
            auto r = RunCli("chips export " + Q(Chips) + " " + stem + " " + Q(png) + Sizes[size]);
            ASSERT_EQ(r.Status, 0) << r.Err;
            // A changed sheet first, so that the import has something to put back.
            WriteBytes(Chips + "/" + stem + (size ? "s.2c" : ".2c"), Bytes(SheetBytes[size], 3));
            r = RunCli("chips import " + Q(png) + " " + Q(Chips) + " " + stem + Sizes[size]);
            ASSERT_EQ(r.Status, 0) << r.Err;
        }
    EXPECT_EQ(Snapshot(Chips), before);
}

TEST_F(ChipsPng, ExportedPictureIsTheStoredSheet) {
    WriteRandomSet(Chips, 1);
    for (int size = 0; size < 2; ++size) {
        SCOPED_TRACE(size);
        const Bytes pixels = ReadBytes(PixelFile(Chips, size));
        const Bytes pal = ReadBytes(PaletteFile(Chips, size));
        const Png p = ReadPng(Export(size, Tmp.File("sheet.png")));
        const int w = ChipWidth[size], h = ChipHeight[size];
        EXPECT_EQ(p.Width, w);
        EXPECT_EQ(p.Height, 168 * h);
        EXPECT_EQ(p.ColourType, PNG_COLOR_TYPE_PALETTE);
        EXPECT_EQ(p.BitDepth, 8);
        // Pixel (17, 33) of chip 2 (large) and (9, 20) of chip 0 (small), as stored; no
        // derived chip composed over chip 35.
        const size_t probe = size == 0 ? size_t(2 * 48 + 33) * 64 + 17 : size_t(20) * 32 + 9;
        EXPECT_EQ(p.Pixels[probe], pixels[size == 0 ? 8465 : 609]);
        const int q = w / 4;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(p.Pixels[size_t(35 * h + y) * size_t(w) + size_t(x)],
                          pixels[size_t(35 * w * h + (y / q) * 4 * q * q + (x / q) * q * q +
                                        (y % q) * q + x % q)]);
        // Index n from record (n + 112) mod 256; the flags bytes in the private chunk.
        ASSERT_EQ(p.Colours.size(), 256u);
        ASSERT_EQ(p.Flags.size(), 256u);
        for (int n = 0; n < 256; ++n) {
            const size_t rec = size_t((n + 112) % 256) * 4;
            EXPECT_EQ(p.Colours[size_t(n)].red, pal[rec]);
            EXPECT_EQ(p.Colours[size_t(n)].green, pal[rec + 1]);
            EXPECT_EQ(p.Colours[size_t(n)].blue, pal[rec + 2]);
            EXPECT_EQ(p.Flags[size_t(n)], pal[rec + 3]);
        }
        // The first byte is the transparent index, and only it is transparent.
        ASSERT_EQ(p.Alpha.size(), size_t(pixels[0]) + 1);
        for (size_t n = 0; n < p.Alpha.size(); ++n) EXPECT_EQ(p.Alpha[n], n == pixels[0] ? 0 : 255);
    }
}

TEST_F(ChipsPng, RandomSetRoundTripIsByteExact) {
    WriteRandomSet(Chips, 2);
    const auto before = Snapshot(Chips);
    for (int size = 0; size < 2; ++size) {
        const std::string png = Export(size, Tmp.File("sheet" + std::to_string(size) + ".png"));
        // A complete indexed picture replaces even a broken palette file.
        WriteBytes(PaletteFile(Chips, size), Bytes(100, 0));
        WriteBytes(PixelFile(Chips, size), Bytes(SheetBytes[size], 0));
        auto r = Import(png, size);
        ASSERT_EQ(r.Status, 0) << r.Err;
    }
    EXPECT_EQ(Snapshot(Chips), before);
}

TEST_F(ChipsPng, TrueColourOverTheStoredPalette) {
    WriteRandomSet(Chips, 3);
    const auto before = Snapshot(Chips);
    const Png sheet = ReadPng(Export(0, Tmp.File("sheet.png")));
    const Bytes pal = ReadBytes(PaletteFile(Chips, 0));
    // Unchanged, with alpha: every pixel keeps its index, also where colours repeat.
    WritePng(Tmp.File("rgba.png"), TrueColour(sheet, true));
    auto r = Import(Tmp.File("rgba.png"), 0);
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(Snapshot(Chips), before);

    // A pixel painted in another palette colour takes the lowest index of that colour.
    // Index 5 shares its colour with index 10; an opaque pixel in the transparent colour
    // takes the other index of that colour, 200.
    Png edited = TrueColour(sheet, true);
    const size_t at = (size_t(100) * 64 + 7) * 4, at2 = (size_t(101) * 64 + 7) * 4;
    std::memcpy(&edited.Pixels[at], &sheet.Colours[10], 3);
    std::memcpy(&edited.Pixels[at2], &sheet.Colours[3], 3);
    edited.Pixels[at + 3] = edited.Pixels[at2 + 3] = 255;
    WritePng(Tmp.File("edited.png"), edited);
    r = Import(Tmp.File("edited.png"), 0);
    ASSERT_EQ(r.Status, 0) << r.Err;
    const Png again = ReadPng(Export(0, Tmp.File("again.png")));
    EXPECT_EQ(again.Pixels[100 * 64 + 7], 5);
    EXPECT_EQ(again.Pixels[101 * 64 + 7], 200);
    EXPECT_EQ(ReadBytes(PaletteFile(Chips, 0)), pal);

    // Without alpha (a flattened picture), unchanged pixels keep their stored index, the
    // transparent ones included.
    WritePng(Tmp.File("rgb.png"), TrueColour(sheet, false));
    WriteBytes(PixelFile(Chips, 0), before.at(PixelFile(Chips, 0)));
    r = Import(Tmp.File("rgb.png"), 0);
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(Snapshot(Chips), before);
}

TEST_F(ChipsPng, TrueColourWithAGivenPaletteIntoAnEmptyFolder) {
    WriteRandomSet(Tmp.Path(), 4); // the palette lies elsewhere
    const std::string chipsOfOther = Chips;
    Chips = Tmp.Path();
    const Png sheet = ReadPng(Export(1, Tmp.File("sheet.png")));
    Chips = chipsOfOther;
    Png rgba = TrueColour(sheet, true);
    WritePng(Tmp.File("rgba.png"), rgba);
    auto r = Import(Tmp.File("rgba.png"), 1);
    EXPECT_EQ(r.Status, 1); // no palette to match against
    EXPECT_TRUE(Contains(r.Err, "palette")) << r.Err;
    EXPECT_TRUE(fs::is_empty(Chips));

    r = Import(Tmp.File("rgba.png"), 1, " --palette " + Q(PaletteFile(Tmp.Path(), 1)));
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(ReadBytes(PaletteFile(Chips, 1)), ReadBytes(PaletteFile(Tmp.Path(), 1)));
    // No stored sheet: transparent pixels become index 0, the others their colour's index.
    const Png back = ReadPng(Export(1, Tmp.File("back.png")));
    for (size_t i = 0; i < back.Pixels.size(); ++i) {
        const png_color a = sheet.Colours[sheet.Pixels[i]], b = back.Colours[back.Pixels[i]];
        if (rgba.Pixels[i * 4 + 3] == 0)
            ASSERT_EQ(back.Pixels[i], 0) << i;
        else
            ASSERT_TRUE(a.red == b.red && a.green == b.green && a.blue == b.blue) << i;
    }
}

TEST_F(ChipsPng, BadInputWritesNothing) {
    WriteRandomSet(Chips, 5);
    const Png sheet = ReadPng(Export(0, Tmp.File("sheet.png")));
    WriteBytes(Tmp.File("short.pal"), Bytes(1023, 1));
    WriteBytes(Tmp.File("text.png"), Bytes(100, 'x'));
    Bytes cut = ReadBytes(Tmp.File("sheet.png"));
    cut.resize(cut.size() / 2);
    WriteBytes(Tmp.File("cut.png"), cut);

    Png wrongSize = sheet;
    wrongSize.Height -= 1;
    wrongSize.Pixels.resize(size_t(wrongSize.Width) * size_t(wrongSize.Height));
    WritePng(Tmp.File("wrongsize.png"), wrongSize);

    Png many = TrueColour(sheet, true); // 300 colours, none of them transparent
    for (int i = 0; i < 300; ++i) {
        uint8_t* px = &many.Pixels[size_t(i) * 4];
        px[0] = uint8_t(i), px[1] = uint8_t(i >> 8), px[2] = 77, px[3] = 255;
    }
    WritePng(Tmp.File("many.png"), many);

    Png foreign = TrueColour(sheet, true);
    std::set<uint32_t> known;
    for (const png_color& c : sheet.Colours)
        known.insert(uint32_t(c.red) << 16 | c.green << 8 | c.blue);
    uint32_t colour = 0;
    while (known.count(colour)) ++colour;
    for (size_t i : {size_t(70) * 64 + 5, size_t(200) * 64 + 1}) { // (5, 70) first, then (1, 200)
        foreign.Pixels[i * 4] = uint8_t(colour >> 16);
        foreign.Pixels[i * 4 + 1] = uint8_t(colour >> 8);
        foreign.Pixels[i * 4 + 2] = uint8_t(colour);
        foreign.Pixels[i * 4 + 3] = 255;
    }
    WritePng(Tmp.File("foreign.png"), foreign);

    Png partly = TrueColour(sheet, true);
    partly.Pixels[(size_t(3) * 64 + 2) * 4 + 3] = 128;
    WritePng(Tmp.File("partly.png"), partly);

    WriteBytes(Tmp.File("afile"), Bytes(1, 0));
    const auto before = Snapshot(Tmp.Path());
    struct Case {
        std::string Args, Message;
    };
    const std::string in = Q(Tmp.File("sheet.png")) + " " + Q(Chips) + " B_010";
    const std::vector<Case> cases = {
        {"import " + Q(Tmp.File("wrongsize.png")) + " " + Q(Chips) + " B_010",
         "is 64 x 8063 pixels; a large chip sheet is 64 x 8064"},
        {"import " + Q(Tmp.File("sheet.png")) + " " + Q(Chips) + " B_010 --small",
         "a small chip sheet is 32 x 4032"},
        {"import " + Q(Tmp.File("many.png")) + " " + Q(Chips) + " B_010",
         "has more than 256 colours"},
        {"import " + Q(Tmp.File("foreign.png")) + " " + Q(Chips) + " B_010",
         "pixel (5, 70) of " + Tmp.File("foreign.png") + " (chip 1) has the colour"},
        {"import " + Q(Tmp.File("partly.png")) + " " + Q(Chips) + " B_010",
         "pixel (2, 3) of " + Tmp.File("partly.png") + " (chip 0) is partly transparent"},
        {"import " + Q(Tmp.File("none.png")) + " " + Q(Chips) + " B_010", Tmp.File("none.png")},
        {"import " + Q(Tmp.File("text.png")) + " " + Q(Chips) + " B_010", "is not a PNG file"},
        {"import " + Q(Tmp.File("cut.png")) + " " + Q(Chips) + " B_010", "not a readable PNG"},
        {"import " + in + " --palette " + Q(Tmp.File("short.pal")), "palette file too short"},
        {"import " + in + " --palette " + Q(Tmp.File("none.pal")), Tmp.File("none.pal")},
        {"import " + Q(Tmp.File("sheet.png")) + " " + Q(Tmp.File("afile/sub")) + " B_010",
         Tmp.File("afile/sub")},
        {"import " + Q(Tmp.File("sheet.png")) + " " + Q(Tmp.File("nodir")) + " B_010",
         Tmp.File("nodir")},
        {"export " + Q(Tmp.File("nodir")) + " B_010 " + Q(Tmp.File("x.png")), "nodir"},
        {"export " + Q(Chips) + " B_010 " + Q(Tmp.File("afile/x.png")), "afile/x.png"},
        {"export " + Q(Chips) + " B_000 " + Q(Tmp.File("x.png")), "B_000.2c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args);
        auto r = RunCli("chips " + c.Args);
        EXPECT_EQ(r.Status, 1);
        EXPECT_TRUE(Contains(r.Err, c.Message)) << r.Err;
        EXPECT_EQ(Snapshot(Tmp.Path()), before);
    }

    // A stored palette that is too short, for a true-colour picture.
    WriteBytes(PaletteFile(Chips, 0), Bytes(1000, 0));
    const auto shortPal = Snapshot(Tmp.Path());
    WritePng(Tmp.File("rgba.png"), TrueColour(sheet, true));
    auto r = Import(Tmp.File("rgba.png"), 0);
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "palette file too short")) << r.Err;
    r = Import(Tmp.File("wrongsize.png"), 0); // the size is told first
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "a large chip sheet is 64 x 8064")) << r.Err;
    std::error_code ec;
    fs::remove(Tmp.File("rgba.png"), ec);
    EXPECT_EQ(Snapshot(Tmp.Path()), shortPal);

    for (const char* args : {"export", "export a B_010", "export a B_010 b c", "import a b",
                             "export a B_040 b.png", "import a.png b ../B_010",
                             "export a B_010 b.png --large", "import a.png b B_010 --palette"})
        EXPECT_EQ(RunCli(std::string("chips ") + args).Status, 2) << args;
}

TEST_F(ChipsPng, BothFilesOrNeither) {
    WriteRandomSet(Chips, 6);
    const Png sheet = ReadPng(Export(0, Tmp.File("sheet.png")));
    Png changed = sheet;
    changed.Pixels[1000] ^= 1;
    WritePng(Tmp.File("changed.png"), changed);
    // The palette file cannot be replaced (a folder holds its name): neither file changes.
    fs::remove(PaletteFile(Chips, 0));
    fs::create_directory(PaletteFile(Chips, 0));
    WriteBytes(PaletteFile(Chips, 0) + "/keep", Bytes(1, 1));
    const auto before = Snapshot(Tmp.Path());
    auto r = Import(Tmp.File("changed.png"), 0);
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, PaletteFile(Chips, 0))) << r.Err;
    EXPECT_EQ(Snapshot(Tmp.Path()), before);
    size_t entries = 0;
    for (const auto& e : fs::directory_iterator(Chips)) entries += !e.path().empty();
    EXPECT_EQ(entries, 4u); // no temporary file left behind

    // With the folder gone, the new pair is written.
    fs::remove_all(PaletteFile(Chips, 0));
    r = Import(Tmp.File("changed.png"), 0);
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(ReadPng(Export(0, Tmp.File("again.png"))).Pixels, changed.Pixels);
}

TEST_F(ChipsPng, IndexedPicturesOfOtherDepthsAndShortPalettes) {
    WriteRandomSet(Chips, 7);
    const Bytes pal = ReadBytes(PaletteFile(Chips, 1));
    // A 4-bit picture with 16 colours and no flags chunk, as an image editor may save it: the
    // colours it lacks and the flags come from the stored palette.
    Png p;
    p.Width = 32, p.Height = 168 * 24, p.ColourType = PNG_COLOR_TYPE_PALETTE, p.BitDepth = 4;
    for (int i = 0; i < 16; ++i) p.Colours.push_back({uint8_t(i), uint8_t(2 * i), uint8_t(3 * i)});
    p.Pixels.resize(size_t(16) * size_t(p.Height));
    for (size_t i = 0; i < p.Pixels.size(); ++i) p.Pixels[i] = uint8_t(i * 37);
    WritePng(Tmp.File("four.png"), p);
    auto r = Import(Tmp.File("four.png"), 1);
    ASSERT_EQ(r.Status, 0) << r.Err;
    const Png back = ReadPng(Export(1, Tmp.File("back.png")));
    for (size_t i = 0; i < back.Pixels.size(); ++i)
        ASSERT_EQ(back.Pixels[i], (p.Pixels[i / 2] >> (i % 2 ? 0 : 4)) & 15) << i;
    const Bytes newPal = ReadBytes(PaletteFile(Chips, 1));
    for (int n = 0; n < 256; ++n) {
        const size_t rec = size_t((n + 112) % 256) * 4;
        if (n < 16)
            EXPECT_EQ(Bytes(newPal.begin() + long(rec), newPal.begin() + long(rec) + 3),
                      (Bytes{uint8_t(n), uint8_t(2 * n), uint8_t(3 * n)}));
        else
            EXPECT_EQ(Bytes(newPal.begin() + long(rec), newPal.begin() + long(rec) + 3),
                      Bytes(pal.begin() + long(rec), pal.begin() + long(rec) + 3));
        EXPECT_EQ(newPal[rec + 3], pal[rec + 3]);
    }
}

// The chunks of a PNG file as bytes: each type with its data (CRCs made again on writing).
using Chunks = std::vector<std::pair<std::string, Bytes>>;

uint32_t Crc32(const std::string& type, const Bytes& data) {
    uint32_t c = 0xFFFFFFFFu;
    auto add = [&](uint8_t b) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    };
    for (char t : type) add(uint8_t(t));
    for (uint8_t b : data) add(b);
    return ~c;
}

Chunks SplitPng(const Bytes& file) {
    Chunks chunks;
    for (size_t at = 8; at + 12 <= file.size();) {
        const size_t len = size_t(file[at]) << 24 | size_t(file[at + 1]) << 16 |
                           size_t(file[at + 2]) << 8 | file[at + 3];
        chunks.push_back({std::string(file.begin() + long(at) + 4, file.begin() + long(at) + 8),
                          Bytes(file.begin() + long(at) + 8, file.begin() + long(at + 8 + len))});
        at += 12 + len;
    }
    return chunks;
}

// `badCrc` names a chunk type whose checksum is written wrong.
Bytes JoinPng(const Chunks& chunks, const std::string& badCrc = "") {
    Bytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto put32 = [&](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) file.push_back(uint8_t(v >> s));
    };
    for (const auto& [type, data] : chunks) {
        put32(uint32_t(data.size()));
        file.insert(file.end(), type.begin(), type.end());
        file.insert(file.end(), data.begin(), data.end());
        put32(Crc32(type, data) ^ (type == badCrc ? 1u : 0u));
    }
    return file;
}

TEST_F(ChipsPng, PicturesThatCannotBeASheetAndBrokenFlagsChunks) {
    WriteRandomSet(Chips, 11);
    const Bytes png = ReadBytes(Export(1, Tmp.File("s.png")));
    const Bytes pal = ReadBytes(PaletteFile(Chips, 1));

    // Flags chunk with a bad checksum, or of the wrong length: said on standard error, and
    // the flags come from the stored palette file.
    Chunks chunks = SplitPng(png);
    for (auto& [type, data] : chunks)
        if (type == "qfLG")
            for (auto& b : data) b = uint8_t(b ^ 0x5A);
    const Chunks changed = chunks;
    for (const char* mode : {"crc", "length"}) {
        Chunks c = changed;
        if (mode == std::string("length"))
            for (auto& [type, data] : c)
                if (type == "qfLG") data.pop_back();
        WriteBytes(Tmp.File("f.png"), JoinPng(c, mode == std::string("crc") ? "qfLG" : ""));
        const auto r = Import(Tmp.File("f.png"), 1);
        EXPECT_EQ(r.Status, 0) << r.Err;
        EXPECT_TRUE(Contains(r.Err, mode == std::string("crc") ? "qfLG has a bad checksum"
                                                               : "qfLG holds 255 bytes"))
            << mode << ": " << r.Err;
        EXPECT_EQ(ReadBytes(PaletteFile(Chips, 1)), pal) << mode;
    }

    // A 16-colour palette whose pixels use indices beyond it, into a folder with no palette
    // file: refused, nothing written.
    const std::string empty = Tmp.File("empty");
    fs::create_directory(empty);
    Chunks shortPalette = SplitPng(png);
    for (auto& [type, data] : shortPalette)
        if (type == "PLTE") data.resize(16 * 3);
    WriteBytes(Tmp.File("short.png"), JoinPng(shortPalette));
    auto r = RunCli("chips import " + Q(Tmp.File("short.png")) + " " + Q(empty) + " B_010 --small");
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "palette has only 16 colours")) << r.Err;
    EXPECT_TRUE(fs::is_empty(empty));

    // A file larger than any sheet picture is refused before it is read.
    Bytes padded = png;
    padded.resize(size_t(2) << 20 | 1, 0);
    WriteBytes(Tmp.File("big.png"), padded);
    r = Import(Tmp.File("big.png"), 1);
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "a chip sheet PNG is at most 2097152")) << r.Err;
}

} // namespace
