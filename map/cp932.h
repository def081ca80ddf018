// Code page 932, the Japanese Windows code page that map names and map lists are kept in:
// its character boundaries and its one conversion to and from UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quarvel {

// True for a byte that starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
bool IsCp932LeadByte(uint8_t b);

// The length in bytes (1 or 2) of the character that starts at `pos`; a lead byte at the
// very end counts as one byte.
size_t Cp932CharLength(const std::string& cp932, size_t pos);

// The longest prefix of `cp932` of at most `maxBytes` bytes that does not cut a double-byte
// character in half.
std::string Cp932Prefix(const std::string& cp932, size_t maxBytes);

// UTF-8 text as code page 932. A character is accepted only when code page 932 has it, so
// that the bytes read back as the same text; where the code page has a character twice
// (NEC and IBM extensions) the code Windows writes is chosen. False (and `out` undefined)
// for text that is not valid UTF-8 or has a character the code page lacks.
bool TryUtf8ToCp932(const std::string& utf8, std::string& out);
// The same; throws QuarvelError instead of returning false.
std::string Utf8ToCp932(const std::string& utf8);

// Code page 932 bytes as UTF-8; throws QuarvelError for bytes that are not code page 932.
std::string Cp932ToUtf8(const std::string& cp932);
// Like Cp932ToUtf8, but each byte that does not start a valid character comes out as "\xNN".
std::string Cp932ToUtf8Lossy(const std::string& cp932);

// The same two conversions for many texts in a row (the lines of a list): the conversion is
// set up once, not once per text.
class TCp932Decoder {
public:
    TCp932Decoder();
    ~TCp932Decoder();
    TCp932Decoder(const TCp932Decoder&) = delete;
    TCp932Decoder& operator=(const TCp932Decoder&) = delete;
    std::string ToUtf8(const std::string& cp932);      // as Cp932ToUtf8
    std::string ToUtf8Lossy(const std::string& cp932); // as Cp932ToUtf8Lossy

private:
    struct Impl;
    std::unique_ptr<Impl> P;
};

} // namespace quarvel
