// Helpers shared by the fuzz harnesses.
#include "fuzz/fuzzutil.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace quarvel::fuzz {

namespace fs = std::filesystem;

int Input::Int(int lo, int hi) {
    const unsigned span = unsigned(hi - lo) + 1u;
    unsigned v = Byte();
    if (span > 256) v = v << 8 | Byte();
    return lo + int(v % span);
}

int32_t Input::Any32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
    return int32_t(v);
}

std::string Input::Take(size_t n) {
    if (n > Size - Pos) n = Size - Pos;
    std::string s(reinterpret_cast<const char*>(Data + Pos), n);
    Pos += n;
    return s;
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "\n*** fuzz check failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string ReadFile(const std::string& path) {
    std::string bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) Fail("cannot open " + path);
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    std::fclose(f);
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0)
        Fail("cannot write " + path);
}

Listing ListTree(const std::string& root, bool contents) {
    Listing out;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        const std::string rel = fs::relative(it->path(), root).string();
        if (it->is_symlink(ec)) {
            out[rel] = "<link>";
        } else if (it->is_directory(ec)) {
            out[rel] = "<folder>";
        } else {
            out[rel] = contents ? ReadFile(it->path().string()) : std::string();
        }
    }
    if (ec) Fail("cannot list " + root + ": " + ec.message());
    return out;
}

void UseMemoryTempFolder() {
    if (!std::getenv("TMPDIR") && ::access("/dev/shm", W_OK) == 0)
        ::setenv("TMPDIR", "/dev/shm", 0);
}

} // namespace quarvel::fuzz
