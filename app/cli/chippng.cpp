// quarvel-cli: chip sheet PNG files on libpng.
#include "app/cli/chippng.h"

#include "map/fileio.h"
#include "map/maperror.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarvel::cli {

namespace {

// libpng reports errors here; the message is kept and control returns to the setjmp of the
// function that drives libpng. Only plain data lives in those functions' frames.
struct PngContext {
    char Message[200] = "";
    bool FlagsCrcBad = false;            // libpng warned of the flags chunk's checksum
    std::vector<uint8_t>* Out = nullptr; // the encoded file, when writing to memory
    const std::string* In = nullptr;     // the file being read, and how far
    size_t At = 0;
    size_t RowsDue = 0, RowsDone = 0; // rows of all passes; once done, no more data is read
    std::vector<png_bytep> Rows;      // row pointers into the picture being read
};

void OnError(png_structp png, png_const_charp message) {
    auto* ctx = static_cast<PngContext*>(png_get_error_ptr(png));
    std::snprintf(ctx->Message, sizeof ctx->Message, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp png, png_const_charp message) {
    // Ancillary chunks with a bad checksum are dropped with a warning that names them.
    auto* ctx = static_cast<PngContext*>(png_get_error_ptr(png));
    if (std::strncmp(message, FlagsChunkName, 4) == 0 && std::strstr(message, "CRC"))
        ctx->FlagsCrcBad = true;
}

void WriteToMemory(png_structp png, png_bytep data, png_size_t size) {
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    ctx->Out->insert(ctx->Out->end(), data, data + size);
}

void Flush(png_structp) {}

void ReadFromMemory(png_structp png, png_bytep data, png_size_t size) {
    auto* ctx = static_cast<PngContext*>(png_get_io_ptr(png));
    // Whatever follows the picture's last row (more compressed data, more chunks) is never
    // read, so never inflated.
    if (ctx->RowsDue > 0 && ctx->RowsDone >= ctx->RowsDue) png_error(png, "end of the picture");
    if (size > ctx->In->size() - ctx->At) png_error(png, "the file ends early");
    std::memcpy(data, ctx->In->data() + ctx->At, size);
    ctx->At += size;
}

// Called for every row of every pass once it is decoded (a user transformation that does not
// change the row): counts them.
void CountRow(png_structp png, png_row_infop, png_bytep) {
    ++static_cast<PngContext*>(png_get_io_ptr(png))->RowsDone;
}

// Encodes the sheet into ctx.Out; false with ctx.Message on failure.
bool Encode(PngContext& ctx, const TBMP256& sheet, uint8_t transparent) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &ctx, OnError, OnWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &ctx, WriteToMemory, Flush);
    png_set_IHDR(png, info, png_uint_32(sheet.Width()), png_uint_32(sheet.Height()), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color colours[256];
    png_byte flags[256];
    png_byte alpha[256];
    for (int n = 0; n < 256; ++n) {
        const PaletteEntry& e = sheet.GetPalette()[size_t(n)];
        colours[n] = {e.Red, e.Green, e.Blue};
        flags[n] = e.Flags;
        alpha[n] = n == transparent ? 0 : 255;
    }
    png_set_PLTE(png, info, colours, 256);
    png_set_tRNS(png, info, alpha, transparent + 1, nullptr);
    png_unknown_chunk chunk{};
    std::memcpy(chunk.name, FlagsChunkName, 5);
    chunk.data = flags;
    chunk.size = sizeof flags;
    chunk.location = PNG_HAVE_PLTE;
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_ALWAYS,
                                reinterpret_cast<png_const_bytep>(FlagsChunkName), 1);
    png_set_unknown_chunks(png, info, &chunk, 1);
    png_write_info(png, info);
    for (int y = 0; y < sheet.Height(); ++y) png_write_row(png, sheet.Row(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

void TakeFlags(PngContext& ctx, png_structp png, png_infop info, SheetImage& image);

// Reads the picture behind ctx.In into `image`; false with ctx.Message on failure.
bool Decode(PngContext& ctx, SheetImage& image, int width, int height) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &ctx, OnError, OnWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        // Stopped at the end of the picture: every row is in; the rest stays unread.
        const bool complete = ctx.RowsDue > 0 && ctx.RowsDone >= ctx.RowsDue;
        if (complete) ctx.Message[0] = 0;
        if (complete) TakeFlags(ctx, png, info, image);
        png_destroy_read_struct(&png, &info, nullptr);
        return complete;
    }
    png_set_read_fn(png, &ctx, ReadFromMemory);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_ALWAYS,
                                reinterpret_cast<png_const_bytep>(FlagsChunkName), 1);
    png_read_info(png, info);
    image.Width = int(png_get_image_width(png, info));
    image.Height = int(png_get_image_height(png, info));
    if (image.Width != width || image.Height != height) {
        png_destroy_read_struct(&png, &info, nullptr);
        return true;
    }
    const int colourType = png_get_color_type(png, info);
    image.Indexed = colourType == PNG_COLOR_TYPE_PALETTE;
    if (image.Indexed) {
        png_set_packing(png); // 1, 2 and 4 bits per pixel as one byte each
        png_colorp colours = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &colours, &count))
            for (int n = 0; n < count; ++n)
                image.Colours.push_back({colours[n].red, colours[n].green, colours[n].blue, 0});
    } else {
        png_set_expand(png); // low bit depths and tRNS colours
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    }
    const int passes = png_set_interlace_handling(png);
    png_set_read_user_transform_fn(png, CountRow);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    if (rowBytes != size_t(width) * (image.Indexed ? 1 : 4)) {
        std::snprintf(ctx.Message, sizeof ctx.Message, "unexpected pixel format");
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    image.Pixels.resize(rowBytes * size_t(height));
    ctx.Rows.resize(size_t(height));
    for (int y = 0; y < height; ++y)
        ctx.Rows[size_t(y)] = image.Pixels.data() + rowBytes * size_t(y);
    for (int pass = 0; pass < passes; ++pass)
        if (passes == 1 || PNG_PASS_COLS(png_uint_32(width), pass) > 0)
            ctx.RowsDue += passes == 1 ? size_t(height) : PNG_PASS_ROWS(png_uint_32(height), pass);
    png_read_image(png, ctx.Rows.data());
    TakeFlags(ctx, png, info, image);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// The flags chunk, which stands before the picture's data.
void TakeFlags(PngContext& ctx, png_structp png, png_infop info, SheetImage& image) {
    png_unknown_chunkp chunks = nullptr;
    const int count = png_get_unknown_chunks(png, info, &chunks);
    for (int i = 0; i < count; ++i) {
        if (std::memcmp(chunks[i].name, FlagsChunkName, 4) != 0) continue;
        if (chunks[i].size == 256)
            image.Flags.assign(chunks[i].data, chunks[i].data + 256);
        else
            image.Warnings.push_back("its palette flags chunk " + std::string(FlagsChunkName) +
                                     " holds " + std::to_string(chunks[i].size) +
                                     " bytes, not 256; it is ignored");
    }
    if (ctx.FlagsCrcBad) { // libpng keeps an unknown chunk whose checksum is wrong
        image.Flags.clear();
        image.Warnings.push_back("its palette flags chunk " + std::string(FlagsChunkName) +
                                 " has a bad checksum; it is ignored");
    }
}

} // namespace

void WriteSheetPng(const std::string& path, const TBMP256& sheet, uint8_t transparent) {
    std::vector<uint8_t> bytes;
    PngContext ctx;
    ctx.Out = &bytes;
    if (!Encode(ctx, sheet, transparent))
        throw QuarvelError("cannot write " + path + ": " + ctx.Message);
    WriteFileAtomically(path, bytes.data(), bytes.size(), FileRole::Picture);
}

SheetImage ReadSheetPng(const std::string& path, int width, int height) {
    // Read through the one safe reader: a folder, pipe or device is refused without waiting,
    // and a file larger than any sheet's picture before it is read.
    TReadFile file(path, FileRole::Picture);
    if (file.Size() > MaxSheetPngBytes)
        throw QuarvelError(path + " is " + std::to_string(file.Size()) +
                           " bytes; a chip sheet PNG is at most " +
                           std::to_string(MaxSheetPngBytes));
    std::string bytes(size_t(file.Size()), '\0');
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    if (bytes.size() < 8) throw QuarvelError(path + " is not a PNG file");
    PngContext ctx;
    ctx.In = &bytes;
    const bool isPng = png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) == 0;
    SheetImage image;
    const bool ok = isPng && Decode(ctx, image, width, height);
    if (!isPng) throw QuarvelError(path + " is not a PNG file");
    if (!ok) throw QuarvelError(path + " is not a readable PNG file: " + ctx.Message);
    return image;
}

} // namespace quarvel::cli
