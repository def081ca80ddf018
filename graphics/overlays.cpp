// The overlay images: looked up by name among the embedded resources and decoded.
#include "graphics/overlays.h"

#include "graphics/bmpreader.h"
#include "map/maperror.h"

#include <cctype>

namespace quarvel {

static bool SameNameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

const EmbeddedResource* FindResource(const std::string& name) {
    for (int i = 0; i < EmbeddedResourceCount; ++i)
        if (SameNameIgnoringCase(name, EmbeddedResources[i].Name)) return &EmbeddedResources[i];
    return nullptr;
}

void LoadOverlay(const std::string& name, TBMP256& out) {
    const EmbeddedResource* res = FindResource(name);
    if (!res) throw QuarvelError(ErrorKind::NoResource, FileRole::File, "").Named(name);
    try {
        ReadBMP256(res->Data, res->Size, out);
    } catch (QuarvelError& e) {
        e.Named(res->Name);
        throw;
    }
}

} // namespace quarvel
