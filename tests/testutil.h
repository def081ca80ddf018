// Helpers shared by the tests: temporary folders, file bytes, running quarvel-cli.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::test {

// The sanitizer build runs every test, but the long property tests take a sample of their
// cases there: the plain build runs them all.
#ifdef QUARVEL_SANITIZED
constexpr bool Sampled = true;
#else
constexpr bool Sampled = false;
#endif

// A fresh empty folder, removed when the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return Dir; }
    std::string File(const std::string& name) const { return Dir + "/" + name; }

private:
    std::string Dir;
};

// A character device like /dev/null to try writes on: as root a node of its own made in
// `dir` (so that a faulty save replaces nothing of the system's), else /dev/null itself,
// which others cannot replace.
std::string NullDevice(const TempDir& dir);

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

struct RunResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};
// The quarvel-cli of this build (in its program folder).
const char* CliPath();
// Runs quarvel-cli with `args` (shell-quoted by the caller) and `input` on standard input.
RunResult RunCli(const std::string& args, const std::string& input = "");
// The same for the program file `program`, started by the shell after `env` (for example
// "HOME=/tmp/h XDG_DATA_HOME="; shell-quoted by the caller).
RunResult RunProgram(const std::string& env, const std::string& program, const std::string& args,
                     const std::string& input = "");

// Sets an environment variable (unsets it for nullptr) for the scope of one case and puts
// the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* Name;
    std::optional<std::string> Old;
};

} // namespace quarvel::test
