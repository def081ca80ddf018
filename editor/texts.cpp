// The program-wide translator of shown texts.
#include "editor/texts.h"

#include <vector>

namespace quarvel {

namespace {

TextTranslator& Installed() {
    static TextTranslator translator;
    return translator;
}

} // namespace

void SetTextTranslator(TextTranslator translator) {
    Installed() = std::move(translator);
}

std::string Tr(const char* context, const char* source) {
    const TextTranslator& translator = Installed();
    return translator ? translator(context, source) : std::string(source);
}

std::string Arg(const std::string& text, std::initializer_list<std::string> args) {
    const std::vector<std::string> values(args);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const size_t n = static_cast<size_t>(text[i + 1] - '1');
            if (n < values.size()) {
                out += values[n];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace quarvel
