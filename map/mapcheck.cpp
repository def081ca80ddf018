// The map checker: chips that do not exist, incomplete multi-level objects and cells that
// map shaping would change, each judged by the map document's own rules.
#include "map/mapcheck.h"

#include "map/chipclasses.h"
#include "map/mapdiff.h"

#include <memory>

namespace quarvel {

namespace {

std::string ChipText(uint8_t chip) {
    return std::to_string(chip) + " " + ChipLabel(chip);
}

// The cells shaping would change, as the chip it writes (0 where it changes nothing; shaping
// never writes 0).
std::unique_ptr<uint8_t[]> ShapedCells(const TMap& map) {
    auto copy = std::make_unique<TMap>();
    std::copy(map.Header, map.Header + TMap::HeaderSize, copy->Header);
    std::copy(map.Cells, map.Cells + TMap::CellCount, copy->Cells);
    auto shaped = std::make_unique<uint8_t[]>(TMap::CellCount);
    if (!copy->Shape()) {
        std::fill(shaped.get(), shaped.get() + TMap::CellCount, uint8_t(0));
        return shaped;
    }
    for (int i = 0; i < TMap::CellCount; ++i)
        shaped[i] = copy->Cells[i] != map.Cells[i] ? copy->Cells[i] : uint8_t(0);
    return shaped;
}

} // namespace

std::vector<MapFinding> CheckMap(const TMap& map) {
    std::vector<MapFinding> findings;
    const auto shaped = ShapedCells(map);
    // At most one finding per non-empty cell: one allocation even for a map full of them.
    size_t used = 0;
    for (uint8_t c : map.Cells) used += c != 0;
    findings.reserve(used);
    for (int i = 0; i < TMap::CellCount; ++i) {
        const uint8_t chip = map.Cells[i];
        if (chip == 0) continue;
        MapFinding f;
        f.X = i % TMap::SizeX, f.Y = i / TMap::SizeX % TMap::SizeY, f.Z = i / TMap::LevelSize;
        f.Chip = chip;
        if (chip >= TMap::ChipCount) {
            f.Kind = FindingKind::NoChip;
            findings.push_back(f);
            continue;
        }
        if (shaped[i] != 0) {
            f.Kind = FindingKind::ShapeWouldFix;
            f.ShapedChip = shaped[i];
            findings.push_back(f);
            continue;
        }
        PartnerCell partners[2];
        const int count = PartnersOf(chip, f.Z, partners);
        for (int k = 0; k < count; ++k) {
            const PartnerCell& p = partners[k];
            const bool inside = TMap::Inside(f.X, f.Y, p.Z);
            const uint8_t found = map.GetChip(f.X, f.Y, p.Z);
            if (inside && found == p.Chip) continue;
            f.Expected[f.MissingCount] = p;
            f.Found[f.MissingCount] = found;
            ++f.MissingCount;
        }
        if (f.MissingCount > 0) {
            f.Kind = FindingKind::BrokenObject;
            findings.push_back(f);
        }
    }
    return findings;
}

std::string FindingText(const MapFinding& f) {
    std::string text =
        std::to_string(f.X) + " " + std::to_string(f.Y) + " " + std::to_string(f.Z) + ": ";
    switch (f.Kind) {
    case FindingKind::NoChip:
        return text + "chip " + std::to_string(f.Chip) + " does not exist (chips are 0.." +
               std::to_string(TMap::ChipCount - 1) + ")";
    case FindingKind::ShapeWouldFix:
        return text + "map shaping would change " + ChipText(f.Chip) + " to " +
               ChipText(f.ShapedChip);
    case FindingKind::BrokenObject:
        text += ChipText(f.Chip) + " is not whole: ";
        for (int k = 0; k < f.MissingCount; ++k) {
            const PartnerCell& p = f.Expected[k];
            if (k > 0) text += "; ";
            text += "level " + std::to_string(p.Z);
            if (TMap::Inside(f.X, f.Y, p.Z))
                text += " holds " + ChipText(f.Found[k]) + " instead of " + ChipText(p.Chip);
            else
                text += " for " + ChipText(p.Chip) + " lies outside the map";
        }
        return text;
    }
    return text;
}

} // namespace quarvel
