// quarvel-cli: the PNG writer, on libpng, zlib and libdeflate, saving through the core's
// safe-save routine.
#include "app/cli/pngwriter.h"

#include "graphics/hugepages.h"
#include "map/fileio.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>
#include <libdeflate.h>
#include <memory>
#include <png.h>
#include <pthread.h>
#include <sched.h>
#include <thread>
#include <vector>
#include <zlib.h>

namespace quarvel::cli {

namespace {

// A byte buffer that is not cleared first: every byte used is written before it is read.
// A band's rows and its deflated bytes run to megabytes, so they go on huge pages too.
struct Buffer {
    LargeBlock Data;
    size_t Size = 0;
    void Allocate(size_t n) {
        Data = AllocateLargeBlock(n);
        Size = n;
    }
};

// One band of rows, composed and deflated on its own: a raw deflate stream that either ends
// on a byte boundary (zlib's sync flush) so that the next band's stream can follow it, or,
// for the last band, ends the whole stream.
struct Band {
    int FirstRow = 0, EndRow = 0;
    bool Last = false;
    Buffer Out;
    size_t OutSize = 0;
    uint32_t Adler = 1;       // Adler-32 of the band's rows as stored (filter byte and indices)
    size_t Length = 0;        // their length
    bool Ok = false;          // deflated
    std::exception_ptr Error; // what composing threw
};

// zlib: the band's rows, ending on a byte boundary with the stream left open. Each row goes
// in as PNG stores it: filter byte 0 (none), then the indices.
bool DeflateOpen(const TBMP256& picture, int level, Band& band) {
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    const size_t width = size_t(picture.Width());
    std::vector<uint8_t> row(width + 1, 0);
    band.Length = (width + 1) * size_t(band.EndRow - band.FirstRow);
    band.Out.Allocate(deflateBound(&z, uLong(band.Length)) + 64);
    z.next_out = band.Out.Data.get();
    z.avail_out = uInt(band.Out.Size);
    band.Adler = 1;
    bool ok = true;
    for (int y = band.FirstRow; ok && y <= band.EndRow; ++y) {
        const bool end = y == band.EndRow;
        if (!end) {
            std::memcpy(row.data() + 1, picture.Row(y), width);
            band.Adler = libdeflate_adler32(band.Adler, row.data(), row.size());
        }
        z.next_in = end ? nullptr : row.data();
        z.avail_in = end ? 0 : uInt(row.size());
        do {
            if (z.avail_out == 0) { // past the bound: grow and go on
                const size_t used = band.Out.Size;
                Buffer larger;
                larger.Allocate(used * 2);
                std::memcpy(larger.Data.get(), band.Out.Data.get(), used);
                band.Out = std::move(larger);
                z.next_out = band.Out.Data.get() + used;
                z.avail_out = uInt(band.Out.Size - used);
            }
            const int r = deflate(&z, end ? Z_SYNC_FLUSH : Z_NO_FLUSH);
            ok = r == Z_OK || r == Z_BUF_ERROR;
        } while (ok && (z.avail_in > 0 || z.avail_out == 0));
    }
    band.OutSize = size_t(z.next_out - band.Out.Data.get());
    deflateEnd(&z);
    return ok;
}

// libdeflate: the band's rows, stored as above, as the stream's closing blocks. libdeflate
// compresses a whole buffer at once, so the rows are laid out in one first.
bool DeflateLast(const TBMP256& picture, int level, Band& band) {
    const size_t width = size_t(picture.Width());
    Buffer rows;
    rows.Allocate((width + 1) * size_t(band.EndRow - band.FirstRow));
    uint8_t* at = rows.Data.get();
    for (int y = band.FirstRow; y < band.EndRow; ++y, at += width + 1) {
        at[0] = 0;
        std::memcpy(at + 1, picture.Row(y), width);
    }
    band.Length = rows.Size;
    band.Adler = libdeflate_adler32(1, rows.Data.get(), rows.Size);
    libdeflate_compressor* c = libdeflate_alloc_compressor(level);
    if (!c) return false;
    band.Out.Allocate(libdeflate_deflate_compress_bound(c, rows.Size));
    band.OutSize = libdeflate_deflate_compress(c, rows.Data.get(), rows.Size, band.Out.Data.get(),
                                               band.Out.Size);
    libdeflate_free_compressor(c);
    return band.OutSize > 0;
}

void RunBand(const TBMP256& picture, const RowComposer* compose, const PngSettings& settings,
             Band& band) {
    try {
        if (compose) (*compose)(band.FirstRow, band.EndRow);
    } catch (...) {
        band.Error = std::current_exception();
        return;
    }
    try {
        const int level = std::clamp(settings.CompressionLevel, 0, 9);
        band.Ok = band.Last ? DeflateLast(picture, level, band) : DeflateOpen(picture, level, band);
    } catch (const std::exception&) { // no memory
        band.Ok = false;
    }
}

// The processors this process may run on.
int Processors() {
#ifdef __linux__
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0) return CPU_COUNT(&set);
#endif
    return int(std::thread::hardware_concurrency());
}

// A thread that runs one band.
class BandThread {
public:
    explicit BandThread(std::function<void()> work) : Work(std::move(work)) {}
    BandThread(const BandThread&) = delete;
    BandThread& operator=(const BandThread&) = delete;
    ~BandThread() { Join(); }

    // False when no thread can be had.
    bool Start() {
        Started = pthread_create(&Thread, nullptr, &BandThread::Run, this) == 0;
        return Started;
    }
    void Join() {
        if (Started) pthread_join(Thread, nullptr);
        Started = false;
    }

private:
    static void* Run(void* self) {
        static_cast<BandThread*>(self)->Work();
        return nullptr;
    }

    std::function<void()> Work;
    pthread_t Thread{};
    bool Started = false;
};

// The bands of the picture, composed (when `compose` is given) and deflated side by side,
// the first band on this thread. The zlib bands are 3 parts high and the libdeflate band 4,
// which evens out their times.
std::vector<Band> CompressBands(const TBMP256& picture, const RowComposer* compose,
                                const PngSettings& settings) {
    int threads = settings.Threads > 0 ? settings.Threads : std::min(4, Processors());
    threads = std::max(1, std::min(threads, picture.Height() / 128)); // bands of 128+ rows
    std::vector<Band> bands(static_cast<size_t>(threads));
    const long long parts = 3LL * (threads - 1) + 4, height = picture.Height();
    for (int i = 0; i < threads; ++i) {
        bands[size_t(i)].FirstRow = int(height * 3 * i / parts);
        bands[size_t(i)].EndRow =
            i == threads - 1 ? int(height) : int(height * 3 * (i + 1) / parts);
        bands[size_t(i)].Last = i == threads - 1;
    }
    std::vector<std::unique_ptr<BandThread>> workers;
    for (size_t i = 1; i < bands.size(); ++i) {
        Band& band = bands[i];
        auto work = [&picture, compose, &settings, &band] {
            RunBand(picture, compose, settings, band);
        };
        workers.push_back(std::make_unique<BandThread>(work));
        if (!workers.back()->Start()) { // no thread to be had: do it here
            workers.pop_back();
            work();
        }
    }
    RunBand(picture, compose, settings, bands[0]);
    for (auto& w : workers) w->Join();
    for (const Band& band : bands)
        if (band.Error) std::rethrow_exception(band.Error);
    return bands;
}

// The zlib stream's pieces: its header, the bands' deflate streams and the Adler-32 of all.
struct Piece {
    const uint8_t* Data;
    size_t Size;
};

// libpng reports errors by calling this and jumping back to the setjmp in Frame.
void OnPngError(png_structp png, png_const_charp message) {
    char* out = static_cast<char*>(png_get_error_ptr(png));
    std::snprintf(out, 256, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// The pieces one after the other as IDAT chunks of at most 1 MiB.
void WriteImageData(png_structp png, const std::vector<Piece>& pieces) {
    static const png_byte idat[5] = "IDAT";
    constexpr size_t chunk = size_t(1) << 20;
    size_t total = 0;
    for (const Piece& p : pieces) total += p.Size;
    size_t piece = 0, offset = 0;
    for (size_t at = 0; at < total; at += chunk) {
        const size_t n = std::min(chunk, total - at);
        png_write_chunk_start(png, idat, png_uint_32(n));
        for (size_t left = n; left > 0;) {
            const size_t take = std::min(left, pieces[piece].Size - offset);
            png_write_chunk_data(png, pieces[piece].Data + offset, take);
            left -= take;
            offset += take;
            if (offset == pieces[piece].Size) ++piece, offset = 0;
        }
        png_write_chunk_end(png);
    }
}

// Writes the PNG file: signature, header and palette by libpng, then the compressed rows
// as IDAT chunks and the closing IEND chunk. Nothing here has a destructor, so the jump
// back from an error skips no clean-up. On failure `message` (256 bytes) says why.
bool Frame(std::FILE* file, const TBMP256& picture, const std::vector<Piece>& pieces,
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
    WriteImageData(png, pieces);
    static const png_byte iend[5] = "IEND";
    png_write_chunk(png, iend, nullptr, 0);
    png_write_flush(png);
    png_destroy_write_struct(&png, &info);
    return true;
}

void Write(const std::string& path, const TBMP256& picture, const RowComposer* compose,
           const PngSettings& settings) {
    if (picture.Width() <= 0 || picture.Height() <= 0)
        throw QuarvelError("cannot write " + path + ": the picture is empty");
    // Everything is composed and compressed before the file is made, so that a failure on
    // the way leaves nothing behind.
    const std::vector<Band> bands = CompressBands(picture, compose, settings);
    static const uint8_t header[2] = {0x78, 0x01}; // deflate, 32 KiB window, no dictionary
    std::vector<Piece> pieces = {{header, 2}};
    uLong adler = 1;
    for (const Band& band : bands) {
        if (!band.Ok)
            throw QuarvelError("cannot write " + path + ": compressing the picture failed");
        pieces.push_back({band.Out.Data.get(), band.OutSize});
        adler = adler32_combine(adler, band.Adler, z_off_t(band.Length));
    }
    uint8_t trailer[4];
    for (int i = 0; i < 4; ++i) trailer[i] = uint8_t(adler >> (24 - 8 * i));
    pieces.push_back({trailer, 4});

    // The file is saved safely; libpng writes through the stream it is given. It is not
    // flushed to disk before its rename: that would cost more than the whole rendering.
    SaveFileAtomically(
        path,
        [&](std::FILE* file) {
            char message[256] = "";
            errno = 0;
            if (!Frame(file, picture, pieces, message)) {
                // A failed write leaves the stream's reason in errno.
                const int err = errno ? errno : EIO;
                throw QuarvelError(ErrorKind::CannotSave, FileRole::Picture, path, err);
            }
        },
        FileRole::Picture, TSaveFile::Unflushed); // a picture can be rendered again
}

} // namespace

void WritePalettedPng(const std::string& path, const TBMP256& picture,
                      const PngSettings& settings) {
    Write(path, picture, nullptr, settings);
}

void WritePalettedPng(const std::string& path, const TBMP256& picture, const RowComposer& compose,
                      const PngSettings& settings) {
    Write(path, picture, compose ? &compose : nullptr, settings);
}

} // namespace quarvel::cli
