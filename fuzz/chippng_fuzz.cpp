// Fuzzes chip sheet PNG files. A sheet made of the input is exported and imported again and
// must come back byte for byte: indices, colours and flags. The input read as a PNG file is
// refused with an error, or gives a picture that the sheet then keeps: its indices as they
// stand and its own colours, an index beyond its palette refused when no palette file gives
// the others, and a true-colour picture refused without a palette to match.
//
// Input: a mode byte; even: the small sheet's indices and palette from the rest (repeated);
// odd: the rest is the PNG file.
#include "app/cli/chippng.h"
#include "fuzz/fuzzutil.h"
#include "graphics/chipimport.h"
#include "graphics/chipsheet.h"
#include "map/maperror.h"
#include "tests/testutil.h"

#include <string>

using namespace quarvel;
using namespace quarvel::fuzz;

namespace {

constexpr int Size = 1; // the small sheet: 32 x 4,032 pixels
const int W = ChipWidth[Size], H = 168 * ChipHeight[Size];

struct State {
    test::TempDir Dir;
    std::string Png = Dir.File("sheet.png");
};

State& St() {
    static State state;
    return state;
}

void RoundTrip(const std::string& bytes) {
    if (bytes.empty()) return;
    TBMP256 sheet;
    sheet.SetSize(W, H);
    size_t at = 0;
    auto next = [&] { return uint8_t(bytes[at++ % bytes.size()]); };
    Palette pal{};
    for (auto& e : pal) e = PaletteEntry{next(), next(), next(), next()};
    sheet.SetPalette(pal);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) sheet.Row(y)[x] = next();
    cli::WriteSheetPng(St().Png, sheet, sheet.GetPixel(0, 0));
    const SheetImage image = cli::ReadSheetPng(St().Png, W, H);
    Check(image.Indexed && image.Colours.size() == 256 && image.Flags.size() == 256 &&
              image.Warnings.empty(),
          "an exported sheet does not read back as a whole indexed picture");
    const TBMP256 back = SheetFromImage(image, Size, St().Png, {});
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            Check(back.Row(y)[x] == sheet.Row(y)[x], "an index changed on the way back");
    for (size_t n = 0; n < 256; ++n)
        Check(back.GetPalette()[n] == pal[n], "a palette entry changed on the way back");
}

void Hostile(const std::string& bytes) {
    WriteFile(St().Png, bytes);
    SheetImage image;
    try {
        image = cli::ReadSheetPng(St().Png, W, H);
    } catch (const QuarvelError&) {
        return;
    }
    if (image.Width != W || image.Height != H) return;
    Check(image.Pixels.size() == size_t(W) * size_t(H) * (image.Indexed ? 1 : 4),
          "a picture of the sheet's size came back incomplete");
    TBMP256 sheet;
    try {
        sheet = SheetFromImage(image, Size, St().Png, {});
    } catch (const QuarvelError&) {
        if (!image.Indexed) return; // no palette to match true colour against
        bool beyond = false;
        for (uint8_t p : image.Pixels) beyond = beyond || p >= image.Colours.size();
        Check(beyond, "an indexed picture within its palette was refused");
        return;
    }
    Check(image.Indexed, "a true-colour picture was taken without a palette");
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint8_t p = image.Pixels[size_t(y) * size_t(W) + size_t(x)];
            Check(sheet.Row(y)[x] == p, "an index of the picture was not kept");
            Check(p < image.Colours.size(), "an index beyond the picture's palette was taken");
        }
    for (size_t n = 0; n < image.Colours.size() && n < 256; ++n) {
        const PaletteEntry& e = sheet.GetPalette()[n];
        const PaletteEntry& c = image.Colours[n];
        Check(e.Red == c.Red && e.Green == c.Green && e.Blue == c.Blue,
              "a colour of the picture was not kept");
        Check(e.Flags == (image.Flags.size() == 256 ? image.Flags[n] : 0),
              "the flags are not the picture's (or zero)");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseMemoryTempFolder();
    St();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const bool file = in.Byte() & 1;
    const std::string rest = in.Rest();
    if (file)
        Hostile(rest);
    else
        RoundTrip(rest);
    return 0;
}
