// Finding a menu command by typing part of its caption: the match and the order of the list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// True when every character of `typed` appears in `caption` in the same order, not
// necessarily side by side. Both are UTF-8 and compared character by character (a byte that
// starts no valid character stands for itself); ASCII letters match either case.
bool MatchesInOrder(std::string_view typed, std::string_view caption);

// The commands that match `typed`, as indices into `captions`: first those in `recent`
// (indices, the most recently run first), then the others by how early in the caption the
// match starts (the first place of the first typed character), then in menu order.
std::vector<size_t> FindCommands(const std::vector<std::string>& captions,
                                 const std::vector<size_t>& recent, std::string_view typed);

// The commands run in this session, most recent first, each once.
class TCommandHistory {
public:
    void Ran(const std::string& name);
    const std::vector<std::string>& Names() const { return List; }

private:
    std::vector<std::string> List;
};

} // namespace quarvel
