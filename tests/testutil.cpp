#include "tests/testutil.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quarvel::test {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "quarvel-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a temporary folder");
    Dir = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(Dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(Dir, ec);
}

std::string NullDevice(const TempDir& dir) {
    const std::string node = dir.File("null-device");
    if (geteuid() == 0 && mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) return node;
    return "/dev/null";
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

const char* CliPath() {
    return QUARVEL_CLI;
}

RunResult RunCli(const std::string& args, const std::string& input) {
    return RunProgram("", CliPath(), args, input);
}

RunResult RunProgram(const std::string& env, const std::string& program, const std::string& args,
                     const std::string& input) {
    TempDir io;
    WriteBytes(io.File("in"), std::vector<uint8_t>(input.begin(), input.end()));
    std::string cmd = (env.empty() ? "" : "env " + env + " ") + "'" + program + "' " + args +
                      " <'" + io.File("in") + "' >'" + io.File("out") + "' 2>'" + io.File("err") +
                      "'";
    int raw = std::system(cmd.c_str());
    RunResult r;
    r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    auto out = ReadBytes(io.File("out"));
    auto err = ReadBytes(io.File("err"));
    r.Out.assign(out.begin(), out.end());
    r.Err.assign(err.begin(), err.end());
    return r;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : Name(name) {
    if (const char* old = std::getenv(name)) Old = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (Old)
        setenv(Name, Old->c_str(), 1);
    else
        unsetenv(Name);
}

} // namespace quarvel::test
