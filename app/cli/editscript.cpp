// quarvel-cli edit: runs a script of map commands from standard input against one map.
#include "app/cli/editscript.h"

#include "app/cli/commands.h"
#include "map/cp932.h"
#include "map/mapclass.h"
#include "map/maperror.h"
#include "map/maptools.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace quarvel::cli {

// ---- The table and the context ------------------------------------------------------------

std::vector<ScriptCommand>& ScriptCommands() {
    static std::vector<ScriptCommand> commands;
    return commands;
}

ScriptRegistration::ScriptRegistration(const ScriptCommand& c) {
    for (const auto& other : ScriptCommands()) {
        if (std::string(other.Name) == c.Name) {
            std::fprintf(stderr, "quarvel-cli: script command '%s' registered twice\n", c.Name);
            std::abort();
        }
    }
    ScriptCommands().push_back(c);
}

std::vector<ScriptHook>& ScriptHooks() {
    static std::vector<ScriptHook> hooks;
    return hooks;
}

ScriptHookRegistration::ScriptHookRegistration(const ScriptHook& h) {
    ScriptHooks().push_back(h);
}

void ScriptContext::Malformed(const std::string& why) const {
    throw ScriptLineError("line " + std::to_string(LineNumber) + ": " + why);
}

void ScriptContext::ExpectArgs(const std::vector<std::string>& words, size_t min,
                               size_t max) const {
    size_t n = words.size() - 1;
    if (n < min) Malformed(words[0] + ": missing argument");
    if (n > max) Malformed(words[0] + ": too many arguments");
}

int ScriptContext::Int(const std::string& word, const std::string& what) const {
    try {
        return ParseInt(word, what);
    } catch (const UsageError& e) {
        Malformed(e.what());
    }
}

int ScriptContext::IntIn(const std::string& word, const std::string& what, int lo, int hi) const {
    int v = Int(word, what);
    if (v < lo || v > hi)
        Malformed(what + " must be " + std::to_string(lo) + ".." + std::to_string(hi) + ": '" +
                  word + "'");
    return v;
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

} // namespace

std::string ScriptContext::RestOfLine() const {
    size_t i = 0;
    while (i < Line.size() && IsBlank(Line[i])) ++i;  // before the command word
    while (i < Line.size() && !IsBlank(Line[i])) ++i; // the command word
    if (i < Line.size()) ++i;                         // one separating blank
    return Line.substr(i);
}

void ScriptContext::PrintBool(bool value) const {
    Out << (value ? "true" : "false") << "\n";
}

void RunScript(ScriptContext& ctx, std::istream& in) {
    struct HookGuard {
        ScriptContext& Ctx;
        explicit HookGuard(ScriptContext& ctx) : Ctx(ctx) {
            for (const auto& h : ScriptHooks())
                if (h.Begin) h.Begin(Ctx);
        }
        ~HookGuard() {
            for (auto it = ScriptHooks().rbegin(); it != ScriptHooks().rend(); ++it)
                if (it->End) it->End(Ctx);
        }
    } guard(ctx);

    std::string line;
    ctx.LineNumber = 0;
    while (std::getline(in, line)) {
        ++ctx.LineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ctx.Line = line;
        auto words = SplitWords(line);
        if (words.empty() || words[0][0] == '#') continue;
        const ScriptCommand* command = nullptr;
        for (const auto& c : ScriptCommands())
            if (words[0] == c.Name) command = &c;
        if (!command) ctx.Malformed("unknown command '" + words[0] + "'");
        try {
            command->Run(ctx, words);
        } catch (const UsageError& e) {
            ctx.Malformed(e.what());
        } catch (const QuarvelError& e) {
            throw QuarvelError("line " + std::to_string(ctx.LineNumber) + ": " + e.what());
        }
    }
}

// ---- The map commands of a script ---------------------------------------------------------

namespace {

void Coordinates(ScriptContext& ctx, const std::vector<std::string>& words, int& x, int& y,
                 int& z) {
    x = ctx.Int(words[1], "X");
    y = ctx.Int(words[2], "Y");
    z = ctx.Int(words[3], "Z");
}

void CmdClear(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    ctx.Map.Clear();
}

void CmdLoad(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 1, 1);
    ctx.PrintBool(ctx.Map.LoadFromFile(w[1]));
}

void CmdSave(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 1);
    ctx.PrintBool(ctx.Map.SaveToFile(w.size() > 1 ? w[1] : std::string()));
}

void CmdStep(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    ctx.Map.UndoBuf.BeginStep();
}

void CmdSet(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 4, 4);
    int x, y, z;
    Coordinates(ctx, w, x, y, z);
    if (!TMap::Inside(x, y, z))
        ctx.Malformed("set: (" + w[1] + ", " + w[2] + ", " + w[3] + ") is outside the map");
    int chip = ctx.IntIn(w[4], "CHIP", 0, 255);
    ctx.Map.SetChip(x, y, z, uint8_t(chip));
}

void CmdGet(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 3, 3);
    int x, y, z;
    Coordinates(ctx, w, x, y, z);
    ctx.Out << int(ctx.Map.GetChip(x, y, z)) << "\n";
}

void CmdView(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 3, 3);
    int x, y, z;
    Coordinates(ctx, w, x, y, z);
    ctx.Out << int(ctx.Map.GetViewChip(x, y, z)) << "\n";
}

void CmdUndo(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    ctx.PrintBool(ctx.Map.Undo());
}

void CmdRedo(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    ctx.PrintBool(ctx.Map.Redo());
}

void CmdShape(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    ctx.PrintBool(ctx.Map.Shape());
}

void CmdShift(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 3, 3);
    int dx = ctx.Int(w[1], "DX"), dy = ctx.Int(w[2], "DY"), dz = ctx.Int(w[3], "DZ");
    ctx.Out << (ShiftMap(ctx.Map, dx, dy, dz) ? "ok" : "cancel") << "\n";
}

void CmdSwap(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 2, 2);
    int a = ctx.IntIn(w[1], "A", 0, 3), b = ctx.IntIn(w[2], "B", 0, 3);
    ctx.Out << (SwapCountries(ctx.Map, a, b) ? "ok" : "cancel") << "\n";
}

void CmdName(ScriptContext& ctx, const std::vector<std::string>&) {
    std::string text;
    try {
        text = Utf8ToCp932(ctx.RestOfLine());
    } catch (const QuarvelError& e) {
        ctx.Malformed(std::string("name: ") + e.what());
    }
    ctx.Map.SetName(text);
}

void CmdGetName(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    // Bytes that are not code page 932 text are an error; control characters print as \xNN.
    ctx.Out << PrintableName(Cp932ToUtf8(ctx.Map.GetName())) << "\n";
}

void CmdTerrain(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 1, 1);
    ctx.Map.SetTerrain(ctx.IntIn(w[1], "N", 0, 3));
}

void CmdGetTerrain(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    ctx.Out << ctx.Map.GetTerrain() << "\n";
}

void CmdModified(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    ctx.PrintBool(ctx.Map.Modified);
}

void CmdUndoState(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    const auto& u = ctx.Map.UndoBuf;
    ctx.Out << u.Current << " " << u.RedoCount << " " << u.Count() << "\n";
}

void CmdRecords(ScriptContext& ctx, const std::vector<std::string>& w) {
    ctx.ExpectArgs(w, 0, 0);
    const auto& slot = ctx.Map.UndoBuf.Slots[ctx.Map.UndoBuf.Current];
    std::string text;
    text.reserve(slot.size() * 9);
    char hex[16];
    for (size_t i = 0; i < slot.size(); ++i) {
        std::snprintf(hex, sizeof hex, i ? " %08x" : "%08x", unsigned(slot[i]));
        text += hex;
    }
    ctx.Out << text << "\n";
}

ScriptRegistration scriptCommands[] = {
    ScriptRegistration({"clear", "clear", CmdClear}),
    ScriptRegistration({"load", "load PATH", CmdLoad}),
    ScriptRegistration({"save", "save [PATH]", CmdSave}),
    ScriptRegistration({"step", "step", CmdStep}),
    ScriptRegistration({"set", "set X Y Z CHIP", CmdSet}),
    ScriptRegistration({"get", "get X Y Z", CmdGet}),
    ScriptRegistration({"view", "view X Y Z", CmdView}),
    ScriptRegistration({"undo", "undo", CmdUndo}),
    ScriptRegistration({"redo", "redo", CmdRedo}),
    ScriptRegistration({"shape", "shape", CmdShape}),
    ScriptRegistration({"shift", "shift DX DY DZ", CmdShift}),
    ScriptRegistration({"swap", "swap A B", CmdSwap}),
    ScriptRegistration({"name", "name TEXT", CmdName}),
    ScriptRegistration({"getname", "getname", CmdGetName}),
    ScriptRegistration({"terrain", "terrain N", CmdTerrain}),
    ScriptRegistration({"getterrain", "getterrain", CmdGetTerrain}),
    ScriptRegistration({"modified", "modified", CmdModified}),
    ScriptRegistration({"undostate", "undostate", CmdUndoState}),
    ScriptRegistration({"records", "records", CmdRecords}),
};

// ---- quarvel-cli edit ---------------------------------------------------------------------

int RunEdit(const std::vector<std::string>& args) {
    if (args.size() > 1) throw UsageError("too many arguments");
    auto map = std::make_unique<TMap>();
    map->Clear();
    if (args.size() == 1) LoadMapFile(*map, args[0]);
    ScriptContext ctx(*map, std::cout);
    try {
        RunScript(ctx, std::cin);
    } catch (const ScriptLineError& e) {
        std::cout.flush();
        std::cerr << "quarvel-cli edit: " << e.what() << "\n";
        return ExitUsage;
    }
    return ExitOk;
}

CliRegistration editCommand({"edit", "edit [MAP] < SCRIPT", RunEdit});

} // namespace

} // namespace quarvel::cli
