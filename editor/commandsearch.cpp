// Finding a menu command by typing part of its caption.
#include "editor/commandsearch.h"

#include <algorithm>

namespace quarvel {

namespace {

// The characters of a UTF-8 text; a byte that starts no valid sequence is one character.
std::vector<char32_t> Characters(std::string_view text) {
    std::vector<char32_t> out;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const size_t length = b < 0x80           ? 1
                              : (b >> 5) == 0x6  ? 2
                              : (b >> 4) == 0xE  ? 3
                              : (b >> 3) == 0x1E ? 4
                                                 : 0;
        bool whole = length > 1 && i + length <= text.size();
        for (size_t k = 1; whole && k < length; ++k)
            whole = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (length == 1 || !whole) {
            // A stray byte: kept apart from every real character.
            char32_t c = length == 1 ? b : 0x110000 + b;
            if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
            out.push_back(c);
            ++i;
            continue;
        }
        char32_t c = b & (0x7F >> length);
        for (size_t k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out.push_back(c);
        i += length;
    }
    return out;
}

} // namespace

bool MatchesInOrder(std::string_view typed, std::string_view caption) {
    const std::vector<char32_t> want = Characters(typed);
    const std::vector<char32_t> have = Characters(caption);
    size_t next = 0;
    for (char32_t c : have)
        if (next < want.size() && c == want[next]) ++next;
    return next == want.size();
}

std::vector<size_t> FindCommands(const std::vector<std::string>& captions,
                                 const std::vector<size_t>& recent, std::string_view typed) {
    const std::vector<char32_t> want = Characters(typed);
    std::vector<size_t> found;
    for (size_t i : recent)
        if (i < captions.size() && MatchesInOrder(typed, captions[i]) &&
            std::find(found.begin(), found.end(), i) == found.end())
            found.push_back(i);
    // The others by where their match starts (the first place of the first typed character).
    std::vector<std::pair<size_t, size_t>> others; // start, index
    for (size_t i = 0; i < captions.size(); ++i) {
        if (std::find(found.begin(), found.end(), i) != found.end()) continue;
        if (!MatchesInOrder(typed, captions[i])) continue;
        const std::vector<char32_t> chars = Characters(captions[i]);
        const size_t start =
            want.empty() ? 0
                         : size_t(std::find(chars.begin(), chars.end(), want[0]) - chars.begin());
        others.emplace_back(start, i);
    }
    std::stable_sort(others.begin(), others.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& o : others) found.push_back(o.second);
    return found;
}

void TCommandHistory::Ran(const std::string& name) {
    List.erase(std::remove(List.begin(), List.end(), name), List.end());
    List.insert(List.begin(), name);
}

} // namespace quarvel
