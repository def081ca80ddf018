// Helpers shared by the fuzz harnesses: an input read as a sequence of choices, checks that
// stop the run with a message, and a listing of everything below a folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace quarvel::fuzz {

// Reads the fuzzer's bytes front to back; past the end every byte reads as 0.
class Input {
public:
    Input(const uint8_t* data, size_t size) : Data(data), Size(size) {}
    uint8_t Byte() { return Pos < Size ? Data[Pos++] : 0; }
    bool Flag() { return Byte() & 1; }
    // lo..hi from one byte (or two, for a range wider than 256).
    int Int(int lo, int hi);
    // Four bytes: the whole int range.
    int32_t Any32();
    // The next n bytes, fewer at the end.
    std::string Take(size_t n);
    std::string Rest() { return Take(Size - Pos); }
    size_t Left() const { return Size - Pos; }

private:
    const uint8_t* Data;
    size_t Size;
    size_t Pos = 0;
};

// Prints what went wrong and aborts, so that libFuzzer keeps the input.
[[noreturn]] void Fail(const std::string& what);
inline void Check(bool ok, const char* what) {
    if (!ok) Fail(what);
}

// Whole-file reads and writes for the harness's own files; a failure stops the run.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// Every entry below `root` by its path relative to it: a folder as "<folder>", a symbolic
// link as "<link>", a file as its bytes (or as "" without `contents`).
using Listing = std::map<std::string, std::string>;
Listing ListTree(const std::string& root, bool contents = true);

// Lets temporary folders live in memory (/dev/shm) when TMPDIR is not set: the harnesses
// create and remove files for every input.
void UseMemoryTempFolder();

} // namespace quarvel::fuzz
