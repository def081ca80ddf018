// The commands' keys: changes refused when a key is taken, kept changes taken back with a fall
// back to the default for each that cannot be used.
#include "editor/shortcuts.h"

#include <algorithm>

namespace quarvel {

TShortcutTable::TShortcutTable(std::vector<TShortcutCommand> commands)
    : Commands(std::move(commands)) {
    for (const TShortcutCommand& c : Commands) Current.push_back(c.Defaults);
}

size_t TShortcutTable::Find(const std::string& name) const {
    for (size_t i = 0; i < Commands.size(); ++i)
        if (Commands[i].Name == name) return i;
    return None;
}

size_t TShortcutTable::Holder(const std::string& key, size_t except) const {
    for (size_t i = 0; i < Current.size(); ++i)
        if (i != except && std::find(Current[i].begin(), Current[i].end(), key) != Current[i].end())
            return i;
    return None;
}

size_t TShortcutTable::Assign(size_t i, const std::string& key) {
    if (key.empty()) {
        Current[i].clear();
        return None;
    }
    const size_t holder = Holder(key, i);
    if (holder == None) Current[i] = {key};
    return holder;
}

size_t TShortcutTable::PutBackDefault(size_t i) {
    for (const std::string& key : Commands[i].Defaults)
        if (const size_t holder = Holder(key, i); holder != None) return holder;
    Current[i] = Commands[i].Defaults;
    return None;
}

TKeptShortcuts TShortcutTable::Changes() const {
    TKeptShortcuts kept;
    for (size_t i = 0; i < Commands.size(); ++i)
        if (Changed(i)) kept[Commands[i].Name] = Current[i].empty() ? "" : Current[i].front();
    return kept;
}

std::vector<std::string>
TShortcutTable::Load(const TKeptShortcuts& kept,
                     const std::function<std::string(const std::string&)>& canonical) {
    std::vector<bool> fellBack(Commands.size(), false);
    for (size_t i = 0; i < Commands.size(); ++i) {
        Current[i] = Commands[i].Defaults;
        const auto k = kept.find(Commands[i].Name);
        if (k == kept.end() || Commands[i].Fixed) continue;
        if (k->second.empty()) {
            Current[i].clear();
            continue;
        }
        const std::string key = canonical(k->second);
        if (key.empty())
            fellBack[i] = true;
        else
            Current[i] = {key};
    }
    // A changed command that shares its key loses it to a command with its defaults, else to
    // the first changed one in the menu. Each round puts at least one command back to its
    // defaults (which no two commands share), so this ends.
    for (bool again = true; again;) {
        again = false;
        for (size_t i = 0; i < Commands.size(); ++i) {
            if (!Changed(i) || Current[i].empty()) continue;
            const std::string& key = Current[i].front();
            size_t winner = None;
            for (size_t j = 0; j < Commands.size(); ++j) {
                if (std::find(Current[j].begin(), Current[j].end(), key) == Current[j].end())
                    continue;
                if (!Changed(j)) {
                    winner = j;
                    break;
                }
                if (winner == None) winner = j;
            }
            if (winner != i) {
                Current[i] = Commands[i].Defaults;
                fellBack[i] = true;
                again = true;
            }
        }
    }
    std::vector<std::string> names;
    for (size_t i = 0; i < Commands.size(); ++i)
        if (fellBack[i]) names.push_back(Commands[i].Name);
    return names;
}

} // namespace quarvel
