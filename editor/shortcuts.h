// The keys of the menu's commands: each command's own keys, the keys the user gave it instead,
// the rule that no key runs two commands, and what of it is kept per user. A key is a text in
// one spelling, the front end's portable form ("Ctrl+Shift+P").
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quarvel {

struct TShortcutCommand {
    std::string Name;                  // the menu item's name: UP1
    std::string Caption;               // as the menu shows it, for messages
    std::vector<std::string> Defaults; // its keys while the user changed nothing
    // Keys that are no command's but taken all the same (a menu's Alt key): they keep their
    // keys, are not kept, and refuse them to every command.
    bool Fixed = false;
};

// The changed commands as kept: name -> key ("" for a command whose keys were cleared).
using TKeptShortcuts = std::map<std::string, std::string>;

class TShortcutTable {
public:
    static constexpr size_t None = size_t(-1);

    TShortcutTable() = default;
    // The commands in menu order; no key may be among the defaults of two commands.
    explicit TShortcutTable(std::vector<TShortcutCommand> commands);

    size_t Size() const { return Commands.size(); }
    const TShortcutCommand& Command(size_t i) const { return Commands[i]; }
    const std::vector<std::string>& Keys(size_t i) const { return Current[i]; }
    bool Changed(size_t i) const { return Current[i] != Commands[i].Defaults; }
    size_t Find(const std::string& name) const; // None when no command has that name

    // The command other than `except` that has `key` now; None when no other has it.
    size_t Holder(const std::string& key, size_t except = None) const;

    // (Neither of these is for a fixed command.)
    // Gives command i the one key `key` in place of its keys ("" clears them). When another
    // command has that key, nothing changes and that command is returned; None when done.
    size_t Assign(size_t i, const std::string& key);
    // Gives command i its default keys back, unless another command has one of them now:
    // then nothing changes and that command is returned; None when done.
    size_t PutBackDefault(size_t i);

    // The changed commands, to be kept.
    TKeptShortcuts Changes() const;

    // Starts from the defaults and takes the kept changes. `canonical` spells a kept key the
    // one way (an empty result: no usable single key). A command falls back to its defaults
    // when its kept key is not usable or is another command's key: a default key stays with
    // its command, and of two changed commands given one key the one earlier in the menu keeps
    // it. Names of no command, and of fixed ones, are ignored. Returns the names of the commands
    // that fell back.
    std::vector<std::string> Load(const TKeptShortcuts& kept,
                                  const std::function<std::string(const std::string&)>& canonical);

private:
    std::vector<TShortcutCommand> Commands;
    std::vector<std::vector<std::string>> Current;
};

} // namespace quarvel
