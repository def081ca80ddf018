// Tests of quarvel-cli render: the PNG it writes decodes to exactly the composed picture and
// the chip palette, also for busy maps drawn band by band and on one processor, the edit
// view's banded composition, and bad arguments, maps and chip folders are refused without
// damage.
#include "graphics/chipsheet.h"
#include "graphics/editpicture.h"
#include "graphics/wholepicture.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <png.h>
#include <random>
#include <sched.h>
#include <thread>
#include <vector>

namespace quarvel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using test::ReadBytes;
using test::RunCli;
using test::WriteBytes;

struct DecodedPng {
    bool Ok = false;
    png_uint_32 Width = 0, Height = 0;
    int BitDepth = 0, ColourType = 0;
    std::vector<png_color> Colours;
    Bytes Pixels; // Width * Height indices
};

void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Reads a PNG with libpng as it stands: no transformations, indices as stored.
bool DecodeInto(std::FILE* f, DecodedPng& d, Bytes& pixels) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    int interlace, compression, filter;
    png_get_IHDR(png, info, &d.Width, &d.Height, &d.BitDepth, &d.ColourType, &interlace,
                 &compression, &filter);
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colours, &count)) d.Colours.assign(colours, colours + count);
    pixels.resize(size_t(png_get_rowbytes(png, info)) * d.Height);
    for (png_uint_32 y = 0; y < d.Height; ++y)
        png_read_row(png, pixels.data() + size_t(y) * png_get_rowbytes(png, info), nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

DecodedPng Decode(const std::string& path) {
    DecodedPng d;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return d;
    Bytes pixels;
    d.Ok = DecodeInto(f, d, pixels);
    std::fclose(f);
    d.Pixels.swap(pixels);
    return d;
}

// A chip set whose chips are boxes of a few indices on a transparent ground, with a
// palette of distinct colours, so that composition and palette mistakes show.
void WriteChipSet(const std::string& dir, int set) {
    const std::string stem = dir + "/" + TerrainFileNames[set];
    for (int s = 0; s < 2; ++s) {
        const int w = ChipWidth[s], h = ChipHeight[s], q = w / 4;
        Bytes pixels(size_t(168) * w * h, 0); // index 0 (first byte) is transparent
        for (int k = 1; k < 168; ++k)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const bool inside = std::abs(2 * x + 1 - w) * h / 3 <= w * (y + 1) / 2 + w;
                    if (!inside) continue;
                    const size_t at = size_t(k) * w * h + size_t(y / q) * 4 * q * q +
                                      size_t(x / q) * q * q + size_t(y % q) * q + size_t(x % q);
                    pixels[at] = uint8_t(1 + (k * 7 + set * 13 + (x + y) % 3) % 250);
                }
        Bytes pal(1024);
        for (int i = 0; i < 1024; ++i) pal[i] = uint8_t(i * (set + 3) + s * 5);
        WriteBytes(stem + (s ? "s.2c" : ".2c"), pixels);
        WriteBytes(stem + (s ? "s.pal" : ".pal"), pal);
    }
}

class RenderTest : public ::testing::Test {
protected:
    test::TempDir Tmp;
    std::string Chips = Tmp.File("chip");
    std::string MapPath = Tmp.File("small.map");
    std::unique_ptr<TMap> Map = std::make_unique<TMap>();
    TBMP256 Sheets[2];
    uint8_t Transparent[2] = {0, 0};

    void SetUp() override {
        fs::create_directory(Chips);
        WriteChipSet(Chips, 0);
        WriteChipSet(Chips, 2);
        Map->Clear();
        Map->SetTerrain(2);
        std::mt19937 rng(7);
        for (int i = 0; i < 300; ++i)
            Map->Cells[TMap::Index(int(rng() % 32), int(rng() % 32), int(rng() % 48))] =
                uint8_t(1 + rng() % 167);
        Map->Cells[TMap::Index(3, 4, 5)] = 200; // a byte with no picture
        ASSERT_TRUE(Map->SaveToFile(MapPath));
        ASSERT_TRUE(ReadChipSheets(Chips, 2, Sheets, Transparent));
    }
    std::string Cli(const std::string& args) const {
        return "render '" + MapPath + "' " + args + " --chips '" + Chips + "'";
    }
    static void ExpectPicture(const DecodedPng& png, const TBMP256& picture) {
        ASSERT_TRUE(png.Ok);
        EXPECT_EQ(png.ColourType, PNG_COLOR_TYPE_PALETTE);
        EXPECT_EQ(png.BitDepth, 8);
        ASSERT_EQ(png.Width, png_uint_32(picture.Width()));
        ASSERT_EQ(png.Height, png_uint_32(picture.Height()));
        ASSERT_EQ(png.Colours.size(), 256u);
        for (int i = 0; i < 256; ++i) {
            const PaletteEntry& e = picture.GetPalette()[i];
            EXPECT_EQ(png.Colours[i].red, e.Red) << i;
            EXPECT_EQ(png.Colours[i].green, e.Green) << i;
            EXPECT_EQ(png.Colours[i].blue, e.Blue) << i;
        }
        ASSERT_EQ(png.Pixels.size(), size_t(picture.Width()) * size_t(picture.Height()));
        EXPECT_TRUE(std::equal(png.Pixels.begin(), png.Pixels.end(), picture.Bits()));
    }
};

TEST_F(RenderTest, WholeMapIsTheComposedPicture) {
    auto r = RunCli(Cli(Tmp.File("whole.png")));
    ASSERT_EQ(r.Status, 0) << r.Err;
    auto view = std::make_unique<TWholePicture>();
    view->Attach(Map.get(), Sheets, Transparent);
    view->SetZoom(0);
    view->RedrawAll(); // black background
    ExpectPicture(Decode(Tmp.File("whole.png")), view->Picture);

    // Small chips, another background and a terrain set given by hand.
    r = RunCli(Cli(Tmp.File("whole.png") + " --zoom 1 --terrain 0 --background '#00ff80'"));
    ASSERT_EQ(r.Status, 0) << r.Err;
    ASSERT_TRUE(ReadChipSheets(Chips, 0, Sheets, Transparent));
    view->SetZoom(1);
    view->BackColor = RGBColor(0x00, 0xFF, 0x80);
    view->RedrawAll();
    ExpectPicture(Decode(Tmp.File("whole.png")), view->Picture);
}

TEST_F(RenderTest, LevelIsTheEditViewPicture) {
    for (int zoom : {0, 1}) {
        SCOPED_TRACE(zoom);
        auto r = RunCli(Cli(Tmp.File("level.png") + " --level 5 --zoom " + std::to_string(zoom)));
        ASSERT_EQ(r.Status, 0) << r.Err;
        auto view = std::make_unique<TEditPicture>();
        view->Attach(Map.get(), Sheets, Transparent);
        view->SetZoom(zoom);
        view->RedrawLevel(5); // grey background, grid on every cell
        ExpectPicture(Decode(Tmp.File("level.png")), view->Picture);
    }
}

TEST_F(RenderTest, CutAwayAndGhostAreTheViewsPictures) {
    for (int zoom : {0, 1}) {
        SCOPED_TRACE(zoom);
        const std::string z = " --zoom " + std::to_string(zoom);
        auto r = RunCli(Cli(Tmp.File("cut.png") + " --top 9" + z));
        ASSERT_EQ(r.Status, 0) << r.Err;
        auto whole = std::make_unique<TWholePicture>();
        whole->Attach(Map.get(), Sheets, Transparent);
        whole->SetZoom(zoom);
        whole->SetTop(9);
        whole->RedrawAll();
        ExpectPicture(Decode(Tmp.File("cut.png")), whole->Picture);

        r = RunCli(Cli(Tmp.File("ghost.png") + " --level 9 --ghost" + z));
        ASSERT_EQ(r.Status, 0) << r.Err;
        auto edit = std::make_unique<TEditPicture>();
        edit->Attach(Map.get(), Sheets, Transparent);
        edit->SetZoom(zoom);
        edit->SetGhost(true);
        edit->RedrawLevel(9);
        ExpectPicture(Decode(Tmp.File("ghost.png")), edit->Picture);
    }
}

TEST_F(RenderTest, DenseMapsAreTheComposedPictures) {
    // Every cell filled: each pixel of the picture gets chips from many cells and levels. The
    // first map hides nothing; the second has cover and field chips too.
    for (int variant = 0; variant < 2; ++variant) {
        SCOPED_TRACE(variant);
        std::mt19937 rng(40 + variant);
        for (auto& c : Map->Cells) {
            c = uint8_t(1 + rng() % 167);
            if (variant == 0 && CoverChips.Contains(c)) c = uint8_t(40 + c % 100);
        }
        ASSERT_TRUE(Map->SaveToFile(MapPath));
        for (int zoom : {0, 1}) {
            SCOPED_TRACE(zoom);
            auto r = RunCli(Cli(Tmp.File("dense.png") + " --zoom " + std::to_string(zoom)));
            ASSERT_EQ(r.Status, 0) << r.Err;
            auto whole = std::make_unique<TWholePicture>();
            whole->Attach(Map.get(), Sheets, Transparent);
            whole->SetZoom(zoom);
            whole->RedrawAll();
            ExpectPicture(Decode(Tmp.File("dense.png")), whole->Picture);

            r = RunCli(Cli(Tmp.File("level.png") + " --level 20 --zoom " + std::to_string(zoom)));
            ASSERT_EQ(r.Status, 0) << r.Err;
            auto level = std::make_unique<TEditPicture>();
            level->Attach(Map.get(), Sheets, Transparent);
            level->SetZoom(zoom);
            level->RedrawLevel(20);
            ExpectPicture(Decode(Tmp.File("level.png")), level->Picture);
        }
    }
}

TEST_F(RenderTest, OneProcessorWritesTheSamePicture) {
    // On one processor the picture is drawn and compressed in one band.
    cpu_set_t all, one;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    int first = 0;
    while (!CPU_ISSET(first, &all)) ++first;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    auto whole = RunCli(Cli(Tmp.File("whole.png")));
    auto level = RunCli(Cli(Tmp.File("level.png") + " --level 5"));
    ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
    ASSERT_EQ(whole.Status, 0) << whole.Err;
    ASSERT_EQ(level.Status, 0) << level.Err;
    auto view = std::make_unique<TWholePicture>();
    view->Attach(Map.get(), Sheets, Transparent);
    view->SetZoom(0);
    view->RedrawAll();
    ExpectPicture(Decode(Tmp.File("whole.png")), view->Picture);
    auto edit = std::make_unique<TEditPicture>();
    edit->Attach(Map.get(), Sheets, Transparent);
    edit->SetZoom(0);
    edit->RedrawLevel(5);
    ExpectPicture(Decode(Tmp.File("level.png")), edit->Picture);
}

TEST_F(RenderTest, EditViewRectsAreTheLevelPicture) {
    std::mt19937 rng(9);
    for (auto& c : Map->Cells) c = rng() % 4 ? uint8_t(1 + rng() % 167) : 0;
    Map->Cells[TMap::Index(7, 7, 2)] = 230; // a byte with no picture
    for (int zoom : {0, 1}) {
        SCOPED_TRACE(zoom);
        auto view = std::make_unique<TEditPicture>();
        view->Attach(Map.get(), Sheets, Transparent);
        view->SetZoom(zoom);
        view->BackColor = 0x3060A0;
        const int w = view->PictureWidth(), h = view->PictureHeight();
        for (int level : {0, 2, 47}) {
            view->RedrawLevel(level);
            const TBMP256 all = view->Picture;
            // Bands at uneven cuts, also two at once on two threads.
            const int cut = 1 + int(rng() % unsigned(h - 1)), cut2 = std::min(h, cut + 77);
            view->Picture.Fill(201);
            std::thread other([&] { view->RedrawRect(level, 0, cut, w, cut2); });
            view->RedrawRect(level, 0, 0, w, cut);
            other.join();
            view->RedrawRect(level, 0, cut2, w, h);
            ASSERT_TRUE(std::equal(all.Bits(), all.Bits() + size_t(w) * h, view->Picture.Bits()))
                << "level " << level << " cuts " << cut << ", " << cut2;
            // Any rectangle, also one reaching past the picture: the level picture inside,
            // nothing touched outside.
            for (int i = 0; i < 6; ++i) {
                int l = int(rng() % unsigned(w + 200)) - 100,
                    r = int(rng() % unsigned(w + 200)) - 100;
                int t = int(rng() % unsigned(h + 200)) - 100,
                    b = int(rng() % unsigned(h + 200)) - 100;
                if (l > r) std::swap(l, r);
                if (t > b) std::swap(t, b);
                view->Picture.Fill(201);
                view->RedrawRect(level, l, t, r, b);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x) {
                        const bool inside = x >= l && x < r && y >= t && y < b;
                        ASSERT_EQ(view->Picture.Row(y)[x], inside ? all.Row(y)[x] : 201)
                            << "level " << level << " pixel " << x << "," << y << " rect " << l
                            << "," << t << " - " << r << "," << b;
                    }
            }
        }
    }
}

TEST_F(RenderTest, RefusalsLeaveTheOutputAlone) {
    const std::string out = Tmp.File("keep.png");
    const Bytes before = {1, 2, 3};
    WriteBytes(out, before);
    auto refuse = [&](const std::string& args, int status, const std::string& message) {
        SCOPED_TRACE(args);
        auto r = RunCli(args);
        EXPECT_EQ(r.Status, status);
        EXPECT_NE(r.Err.find(message), std::string::npos) << r.Err;
        EXPECT_EQ(ReadBytes(out), before);
    };
    refuse(Cli("'" + out + "' --terrain 3"), 1,
           "chip files for terrain set 3 not found in " + Chips);
    refuse(Cli("'" + out + "' --zoom 2"), 2, "--zoom");
    refuse(Cli("'" + out + "' --level 48"), 2, "--level");
    refuse(Cli("'" + out + "' --level"), 2, "--level");
    refuse(Cli("'" + out + "' --top 48"), 2, "--top must be 0..47");
    refuse(Cli("'" + out + "' --top -1"), 2, "--top must be 0..47");
    refuse(Cli("'" + out + "' --ghost"), 2, "--ghost needs --level");
    refuse(Cli("'" + out + "' --background 12345g"), 2, "--background");
    refuse(Cli("'" + out + "' --terrain 4"), 2, "--terrain");
    refuse("render '" + MapPath + "'", 2, "missing");

    // An output folder that does not exist: an error and no stray file.
    auto r = RunCli("render '" + MapPath + "' '" + Tmp.File("none/out.png") + "' --chips '" +
                    Chips + "'");
    EXPECT_EQ(r.Status, 1);
    EXPECT_FALSE(fs::exists(Tmp.File("none")));

    // A terrain code outside the four sets, and a file that is no map.
    Map->Header[TMap::TerrainOffset] = 70;
    ASSERT_TRUE(Map->SaveToFile(MapPath));
    refuse(Cli("'" + out + "'"), 1, "terrain set 7");
    WriteBytes(MapPath, Bytes(100, 'x'));
    refuse(Cli("'" + out + "'"), 1, MapPath);
}

} // namespace
} // namespace quarvel
