// quarvel-cli: the PNG writer, on libpng, through a temporary file renamed into place.
#include "app/cli/pngwriter.h"

#include "map/maperror.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace quarvel::cli {

namespace {

// One band of rows deflated on its own: a raw deflate stream that ends on a byte boundary
// (sync flush) so that bands can be joined, the last one finishing the stream.
struct Band {
    int FirstRow = 0, EndRow = 0;
    bool Last = false;
    std::vector<uint8_t> Out;
    uLong Adler = 1;  // Adler-32 of the band's filtered rows
    uLong Length = 0; // their length
    bool Ok = false;
};

void DeflateBand(const TBMP256& picture, const PngSettings& settings, Band& band) {
    z_stream z{};
    if (deflateInit2(&z, settings.CompressionLevel, Z_DEFLATED, -15, 8, settings.Strategy) != Z_OK)
        return;
    const size_t width = size_t(picture.Width());
    std::vector<uint8_t> row(width + 1, 0); // filter byte 0 (none), then the indices
    band.Length = uLong((width + 1) * size_t(band.EndRow - band.FirstRow));
    band.Out.resize(deflateBound(&z, band.Length) + 64);
    z.next_out = band.Out.data();
    z.avail_out = uInt(band.Out.size());
    band.Adler = adler32(0, nullptr, 0);
    bool ok = true;
    for (int y = band.FirstRow; ok && y <= band.EndRow; ++y) {
        const bool end = y == band.EndRow;
        if (!end) {
            std::memcpy(row.data() + 1, picture.Row(y), width);
            band.Adler = adler32(band.Adler, row.data(), uInt(row.size()));
        }
        z.next_in = end ? nullptr : row.data();
        z.avail_in = end ? 0 : uInt(row.size());
        const int flush = !end ? Z_NO_FLUSH : band.Last ? Z_FINISH : Z_SYNC_FLUSH;
        do {
            if (z.avail_out == 0) { // past the bound: grow and go on
                const size_t used = band.Out.size();
                band.Out.resize(used * 2);
                z.next_out = band.Out.data() + used;
                z.avail_out = uInt(band.Out.size() - used);
            }
            const int r = deflate(&z, flush);
            ok = r == Z_OK || r == Z_STREAM_END || r == Z_BUF_ERROR;
        } while (ok && (z.avail_in > 0 || z.avail_out == 0));
    }
    band.Out.resize(size_t(z.next_out - band.Out.data()));
    deflateEnd(&z);
    band.Ok = ok;
}

// The zlib stream of the picture's rows: the bands deflated side by side and joined.
bool CompressRows(const TBMP256& picture, const PngSettings& settings,
                  std::vector<uint8_t>& stream) {
    int threads = settings.Threads > 0 ? settings.Threads
                                       : std::min(4, int(std::thread::hardware_concurrency()));
    threads = std::max(1, std::min(threads, picture.Height() / 128)); // bands of 128+ rows
    std::vector<Band> bands(static_cast<size_t>(threads));
    for (int i = 0; i < threads; ++i) {
        bands[size_t(i)].FirstRow = picture.Height() * i / threads;
        bands[size_t(i)].EndRow = picture.Height() * (i + 1) / threads;
        bands[size_t(i)].Last = i == threads - 1;
    }
    auto run = [&](Band& band) {
        try {
            DeflateBand(picture, settings, band);
        } catch (const std::bad_alloc&) {
            band.Ok = false;
        }
    };
    std::vector<std::thread> workers;
    workers.reserve(bands.size());
    for (size_t i = 1; i < bands.size(); ++i) {
        try {
            workers.emplace_back(run, std::ref(bands[i]));
        } catch (const std::system_error&) { // no thread to be had: do it here
            run(bands[i]);
        }
    }
    run(bands[0]);
    for (auto& w : workers) w.join();

    stream.assign({0x78, 0x01}); // deflate, 32 KiB window, no dictionary
    uLong adler = 1;
    for (const Band& band : bands) {
        if (!band.Ok) return false;
        stream.insert(stream.end(), band.Out.begin(), band.Out.end());
        adler = adler32_combine(adler, band.Adler, z_off_t(band.Length));
    }
    for (int shift = 24; shift >= 0; shift -= 8) stream.push_back(uint8_t(adler >> shift));
    return true;
}

// libpng reports errors by calling this and jumping back to the setjmp in Frame.
void OnPngError(png_structp png, png_const_charp message) {
    char* out = static_cast<char*>(png_get_error_ptr(png));
    std::snprintf(out, 256, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Writes the PNG file: signature, header and palette by libpng, then the compressed rows
// as IDAT chunks and the closing IEND chunk. Nothing here has a destructor, so the jump
// back from an error skips no clean-up. On failure `message` (256 bytes) says why.
bool Frame(std::FILE* file, const TBMP256& picture, const uint8_t* data, size_t size,
           char* message) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, message, OnPngError, OnPngWarning);
    if (!png) {
        std::snprintf(message, 256, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(message, 256, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(picture.Width()), png_uint_32(picture.Height()), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    png_color colours[256];
    const Palette& pal = picture.GetPalette();
    for (int i = 0; i < 256; ++i) colours[i] = {pal[i].Red, pal[i].Green, pal[i].Blue};
    png_set_PLTE(png, info, colours, 256);
    png_write_info(png, info);
    static const png_byte idat[5] = "IDAT", iend[5] = "IEND";
    constexpr size_t chunk = size_t(1) << 20;
    for (size_t at = 0; at < size; at += chunk)
        png_write_chunk(png, idat, data + at, std::min(chunk, size - at));
    png_write_chunk(png, iend, nullptr, 0);
    png_write_flush(png);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool Encode(std::FILE* file, const TBMP256& picture, const PngSettings& settings, char* message) {
    std::vector<uint8_t> stream;
    bool ok = false;
    try {
        ok = CompressRows(picture, settings, stream);
    } catch (const std::exception&) { // no memory, no thread
    }
    if (!ok) {
        std::snprintf(message, 256, "compressing the picture failed");
        return false;
    }
    return Frame(file, picture, stream.data(), stream.size(), message);
}

// The permissions a newly created file gets under the process's umask.
mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

void WritePalettedPng(const std::string& path, const TBMP256& picture,
                      const PngSettings& settings) {
    if (picture.Width() <= 0 || picture.Height() <= 0)
        throw QuarvelError("cannot write " + path + ": the picture is empty");
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = folder + "." + base + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) throw QuarvelError("cannot write " + path + ": " + std::strerror(errno));
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        const int err = errno;
        close(fd);
        unlink(temp.c_str());
        throw QuarvelError("cannot write " + path + ": " + std::strerror(err));
    }
    char message[256] = "";
    errno = 0;
    bool ok = Encode(file, picture, settings, message);
    int err = ok ? 0 : errno; // a failed write leaves the stream's reason in errno
    if (ok && std::fflush(file) != 0) {
        ok = false;
        err = errno;
    }
    if (ok && fchmod(fd, NewFileMode()) != 0) {
        ok = false;
        err = errno;
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        std::string why = message;
        if (err != 0) why += (why.empty() ? "" : ": ") + std::string(std::strerror(err));
        throw QuarvelError("cannot write " + path + ": " + why);
    }
}

} // namespace quarvel::cli
