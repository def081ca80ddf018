// quarvel-cli edit: a script of map commands read line by line, with a table of script
// commands that other files extend through ScriptRegistration.
//
// One command per line, words separated by blanks; empty lines and lines whose first word
// starts with '#' are skipped; a trailing '\r' is dropped. The map commands (editscript.cpp):
//   clear | load PATH -> true/false | save [PATH] -> true/false | step | set X Y Z CHIP |
//   get X Y Z -> chip | view X Y Z -> chip | undo, redo, shape -> true/false |
//   shift DX DY DZ -> ok/cancel | swap A B -> ok/cancel | name TEXT (rest of the line) |
//   getname | terrain N (0..3) | getterrain | modified -> true/false |
//   undostate -> "Current RedoCount Count" | records -> the current slot's records in hex.
// A malformed line stops the script with "line N: ..." (exit status 2); a file error stops
// it with "line N: ..." (exit status 1). What was printed before stays printed.
#pragma once

#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace quarvel {
class TMap;
}

namespace quarvel::cli {

// A malformed script line (exit status 2). The text already starts with "line N: ".
class ScriptLineError : public std::runtime_error {
public:
    explicit ScriptLineError(const std::string& what) : std::runtime_error(what) {}
};

// What a hook keeps for the length of one script (e.g. the editor state of the editor's
// commands); freed with the context.
struct ScriptExtension {
    virtual ~ScriptExtension() = default;
};

// What a script command works on: the map, the output, and the line being run.
struct ScriptContext {
    TMap& Map;
    std::ostream& Out;
    int LineNumber = 0;
    std::string Line;                        // the current line, without its line end
    std::unique_ptr<ScriptExtension> Editor; // set by the editor commands' hook

    ScriptContext(TMap& map, std::ostream& out) : Map(map), Out(out) {}

    // Throws ScriptLineError "line N: why".
    [[noreturn]] void Malformed(const std::string& why) const;
    // Checks that the line has min..max arguments after the command word.
    void ExpectArgs(const std::vector<std::string>& words, size_t min, size_t max) const;
    // A whole decimal number (optional '-'); otherwise the line is malformed.
    int Int(const std::string& word, const std::string& what) const;
    // The same, and it must lie in lo..hi.
    int IntIn(const std::string& word, const std::string& what, int lo, int hi) const;
    // The text after the command word and the one blank that follows it, verbatim.
    std::string RestOfLine() const;
    void PrintBool(bool value) const;
};

// One script command. `words` holds the line's blank-separated words; words[0] is the name.
using ScriptFn = void (*)(ScriptContext& ctx, const std::vector<std::string>& words);

struct ScriptCommand {
    const char* Name;
    const char* Usage; // e.g. "set X Y Z CHIP"
    ScriptFn Run;
};

std::vector<ScriptCommand>& ScriptCommands();

// A file adds its commands with a static ScriptRegistration; a name may be registered once.
struct ScriptRegistration {
    explicit ScriptRegistration(const ScriptCommand& c);
};

// Run before the first line and after the last (also when a line fails), in registration
// order; e.g. to make an editor state around ctx.Map.
struct ScriptHook {
    void (*Begin)(ScriptContext& ctx);
    void (*End)(ScriptContext& ctx);
};

std::vector<ScriptHook>& ScriptHooks();

struct ScriptHookRegistration {
    explicit ScriptHookRegistration(const ScriptHook& h);
};

// Runs the script in `in` against ctx.Map. Throws ScriptLineError for a malformed line and
// QuarvelError ("line N: ...") for a failed command; lines after the failing one do not run.
void RunScript(ScriptContext& ctx, std::istream& in);

} // namespace quarvel::cli
