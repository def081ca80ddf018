// Code page 932 through the C library's "CP932" conversion, one character at a time, so
// that boundaries, refusals and bad bytes are decided here and the same way everywhere.
#include "map/cp932.h"

#include "map/maperror.h"

#include <cstdio>
#include <iconv.h>

namespace quarvel {

namespace {

// One iconv conversion; Convert turns one whole character or fails.
class Converter {
public:
    Converter(const char* to, const char* from) : Cd(iconv_open(to, from)) {
        if (Cd == iconv_t(-1))
            throw QuarvelError(std::string("no text conversion from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(Cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Appends the conversion of in[0, size) to `out`; false unless all of it converts.
    bool Convert(const char* in, size_t size, std::string& out) {
        char buf[16];
        char* src = const_cast<char*>(in);
        size_t left = size;
        char* dst = buf;
        size_t room = sizeof buf;
        const bool ok = iconv(Cd, &src, &left, &dst, &room) != size_t(-1) && left == 0;
        iconv(Cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        if (ok) out.append(buf, size_t(dst - buf));
        return ok;
    }

private:
    iconv_t Cd;
};

// The length of the UTF-8 sequence that `first` starts, 0 for a byte that starts none.
size_t Utf8Length(uint8_t first) {
    if (first < 0x80) return 1;
    if (first >= 0xC2 && first <= 0xDF) return 2;
    if (first >= 0xE0 && first <= 0xEF) return 3;
    if (first >= 0xF0 && first <= 0xF4) return 4;
    return 0;
}

// Decodes `cp932`; a byte that starts no valid character throws when `lossy` is false and
// comes out as "\xNN" otherwise.
std::string Decode(Converter& decoder, const std::string& cp932, bool lossy) {
    std::string out;
    for (size_t pos = 0; pos < cp932.size();) {
        const size_t len = Cp932CharLength(cp932, pos);
        if (decoder.Convert(cp932.data() + pos, len, out)) {
            pos += len;
            continue;
        }
        if (!lossy) throw QuarvelError("text cannot be converted: not valid code page 932 text");
        char esc[8];
        std::snprintf(esc, sizeof esc, "\\x%02X", unsigned(uint8_t(cp932[pos])));
        out += esc;
        ++pos;
    }
    return out;
}

} // namespace

bool IsCp932LeadByte(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

size_t Cp932CharLength(const std::string& cp932, size_t pos) {
    return IsCp932LeadByte(uint8_t(cp932[pos])) && pos + 1 < cp932.size() ? 2 : 1;
}

std::string Cp932Prefix(const std::string& cp932, size_t maxBytes) {
    size_t end = 0;
    while (end < cp932.size()) {
        const size_t len = Cp932CharLength(cp932, end);
        if (end + len > maxBytes) break;
        end += len;
    }
    return cp932.substr(0, end);
}

bool TryUtf8ToCp932(const std::string& utf8, std::string& out) {
    Converter encoder("CP932", "UTF-8");
    Converter decoder("UTF-8", "CP932");
    out.clear();
    std::string back;
    for (size_t pos = 0; pos < utf8.size();) {
        const size_t len = Utf8Length(uint8_t(utf8[pos]));
        if (len == 0 || pos + len > utf8.size()) return false;
        const size_t start = out.size();
        if (!encoder.Convert(utf8.data() + pos, len, out)) return false;
        // The library also takes look-alikes (U+301C for U+FF5E, U+00A5 for "\") and drops
        // some characters silently; only a character that reads back as itself is taken.
        back.clear();
        if (!decoder.Convert(out.data() + start, out.size() - start, back) ||
            back.compare(0, std::string::npos, utf8, pos, len) != 0)
            return false;
        pos += len;
    }
    return true;
}

std::string Utf8ToCp932(const std::string& utf8) {
    std::string out;
    if (!TryUtf8ToCp932(utf8, out))
        throw QuarvelError(
            "text cannot be converted: not valid UTF-8 or not representable in code page 932");
    return out;
}

std::string Cp932ToUtf8(const std::string& cp932) {
    return TCp932Decoder().ToUtf8(cp932);
}

std::string Cp932ToUtf8Lossy(const std::string& cp932) {
    return TCp932Decoder().ToUtf8Lossy(cp932);
}

struct TCp932Decoder::Impl {
    Converter Decoder{"UTF-8", "CP932"};
};

TCp932Decoder::TCp932Decoder() : P(std::make_unique<Impl>()) {}
TCp932Decoder::~TCp932Decoder() = default;

std::string TCp932Decoder::ToUtf8(const std::string& cp932) {
    return Decode(P->Decoder, cp932, false);
}

std::string TCp932Decoder::ToUtf8Lossy(const std::string& cp932) {
    return Decode(P->Decoder, cp932, true);
}

} // namespace quarvel
