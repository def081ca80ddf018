// quarvel-cli: UTF-8 <-> code page 932 through iconv.
#include "app/cli/textcodec.h"

#include "map/maperror.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>

namespace quarvel::cli {

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : Cd(iconv_open(to, from)) {
        if (Cd == iconv_t(-1))
            throw QuarvelError(std::string("no text conversion from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(Cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; when `lossy`, a byte that cannot be converted becomes "\xNN", otherwise
    // the conversion throws naming `what`.
    std::string Run(const std::string& in, bool lossy, const char* what) {
        std::string out;
        char buf[256];
        char* src = const_cast<char*>(in.data());
        size_t left = in.size();
        while (left > 0) {
            char* dst = buf;
            size_t room = sizeof buf;
            size_t r = iconv(Cd, &src, &left, &dst, &room);
            out.append(buf, size_t(dst - buf));
            if (r != size_t(-1)) continue;
            if (errno == E2BIG) continue;
            if (!lossy) throw QuarvelError(std::string("text cannot be converted: ") + what);
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\x%02X", unsigned(static_cast<unsigned char>(*src)));
            out += esc;
            ++src;
            --left;
            iconv(Cd, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        }
        char* dst = buf;
        size_t room = sizeof buf;
        iconv(Cd, nullptr, nullptr, &dst, &room);
        out.append(buf, size_t(dst - buf));
        return out;
    }

private:
    iconv_t Cd;
};

} // namespace

std::string Utf8ToCp932(const std::string& utf8) {
    return Converter("CP932", "UTF-8")
        .Run(utf8, false, "not valid UTF-8 or not representable in code page 932");
}

std::string Cp932ToUtf8(const std::string& cp932) {
    return Converter("UTF-8", "CP932").Run(cp932, false, "not valid code page 932 text");
}

std::string Cp932ToUtf8Lossy(const std::string& cp932) {
    return Converter("UTF-8", "CP932").Run(cp932, true, "");
}

} // namespace quarvel::cli
