// The overlay images the program carries (cursor box, cell grid, selection outline) and
// the table of embedded resources they come from.
#pragma once

#include "graphics/bmp256.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace quarvel {

// One file of resources/, embedded at build time; Name is the file name without extension
// in upper case ("CUR_S").
struct EmbeddedResource {
    const char* Name;
    const uint8_t* Data;
    size_t Size;
};
extern const EmbeddedResource EmbeddedResources[];
extern const int EmbeddedResourceCount;

// The embedded resource of that name, matched without regard to case; null when none.
const EmbeddedResource* FindResource(const std::string& name);

// Loads the overlay image `name` ("cur", "grid_s", ...; any case) into `out`. Throws
// QuarvelError when there is no such resource or it is not a valid 8-bit BMP.
void LoadOverlay(const std::string& name, TBMP256& out);

} // namespace quarvel
