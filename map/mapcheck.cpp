// The map checker: chips that do not exist, incomplete multi-level objects and cells that
// map shaping would change, each judged by the map document's own rules.
#include "map/mapcheck.h"

#include "map/chipclasses.h"
#include "map/mapdiff.h"
#include "map/textmarker.h"

#include <initializer_list>
#include <memory>

namespace quarvel {

namespace {

// The words of the findings in both languages, one row per kind of finding and one per part
// of the text that several kinds share. %1, %2, %3 stand for the finding's numbers and chips.
// The editor shows the Japanese words through its translator (context "MapCheck").
struct Wording {
    const char* English;
    const char* Japanese;
};

struct KindWording {
    FindingKind Kind;
    Wording Words;
};

constexpr KindWording KindWordings[] = {
    {FindingKind::NoChip,
     {"chip %1 does not exist (chips are 0..%2)",
      QUARVEL_TR_NOOP("MapCheck", "チップ %1 はありません（チップは 0～%2）")}},
    {FindingKind::BrokenObject,
     {"%1 is not whole: ", QUARVEL_TR_NOOP("MapCheck", "%1 がそろっていません：")}},
    {FindingKind::ShapeWouldFix,
     {"map shaping would change %1 to %2",
      QUARVEL_TR_NOOP("MapCheck", "マップ整形で %1 が %2 に変わります")}},
};

constexpr Wording CellWords = {"%1 %2 %3: ", QUARVEL_TR_NOOP("MapCheck", "X:%1 Y:%2 Z:%3 ")};
// The parts of a broken object's text, one per partner cell that differs.
constexpr Wording PartnerHoldsWords = {"level %1 holds %2 instead of %3",
                                       QUARVEL_TR_NOOP("MapCheck", "階層 %1 が %3 でなく %2 です")};
constexpr Wording PartnerOutsideWords = {
    "level %1 for %2 lies outside the map",
    QUARVEL_TR_NOOP("MapCheck", "%2 を置く階層 %1 がマップの外です")};
constexpr Wording PartnerSeparator = {"; ", QUARVEL_TR_NOOP("MapCheck", "、")};

std::string Words(const Wording& w, FindingWording wording, const ShownText& shown) {
    if (wording == FindingWording::English) return w.English;
    return shown ? shown("MapCheck", w.Japanese) : std::string(w.Japanese);
}

std::string KindWords(FindingKind kind, FindingWording wording, const ShownText& shown) {
    for (const KindWording& k : KindWordings)
        if (k.Kind == kind) return Words(k.Words, wording, shown);
    return "";
}

// `text` with %1 .. %3 replaced by the arguments.
std::string Fill(const std::string& text, std::initializer_list<std::string> args) {
    std::string out;
    for (const char* p = text.c_str(); *p; ++p) {
        const size_t n = size_t(p[1] - '1');
        if (*p == '%' && p[1] >= '1' && p[1] <= '3' && n < args.size()) {
            out += args.begin()[n];
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string ChipText(uint8_t chip, const ShownText& shown) {
    return std::to_string(chip) + " " +
           (shown ? shown("ChipNames", ChipLabel(chip)) : ChipLabel(chip));
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

// The finding of cell i, given the chip shaping writes there (0 where it changes nothing).
bool Judge(const TMap& map, int i, uint8_t shaped, MapFinding& f) {
    const uint8_t chip = map.Cells[i];
    if (chip == 0) return false;
    f = MapFinding();
    f.X = i % TMap::SizeX, f.Y = i / TMap::SizeX % TMap::SizeY, f.Z = i / TMap::LevelSize;
    f.Chip = chip;
    if (chip >= TMap::ChipCount) {
        f.Kind = FindingKind::NoChip;
        return true;
    }
    if (shaped != 0) {
        f.Kind = FindingKind::ShapeWouldFix;
        f.ShapedChip = shaped;
        return true;
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
    f.Kind = FindingKind::BrokenObject;
    return f.MissingCount > 0;
}

} // namespace

std::vector<MapFinding> CheckMap(const TMap& map) {
    std::vector<MapFinding> findings;
    const auto shaped = ShapedCells(map);
    // At most one finding per non-empty cell: one allocation even for a map full of them.
    size_t used = 0;
    for (uint8_t c : map.Cells) used += c != 0;
    findings.reserve(used);
    MapFinding f;
    for (int i = 0; i < TMap::CellCount; ++i)
        if (Judge(map, i, shaped[i], f)) findings.push_back(f);
    return findings;
}

bool CheckCell(const TMap& map, int x, int y, int z, MapFinding& finding) {
    if (!TMap::Inside(x, y, z)) return false;
    const uint8_t chip = map.GetChip(x, y, z);
    const uint8_t shaped = map.ShapedChip(x, y, z);
    return Judge(map, TMap::Index(x, y, z), shaped != chip ? shaped : uint8_t(0), finding);
}

int CheckNeighbourhood(int x, int y, int z, int (&cells)[CheckNeighbourhoodSize]) {
    int n = 0;
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (TMap::Inside(x + dx, y + dy, z + dz))
                    cells[n++] = TMap::Index(x + dx, y + dy, z + dz);
    for (int dz : {-2, 2})
        if (TMap::Inside(x, y, z + dz)) cells[n++] = TMap::Index(x, y, z + dz);
    return n;
}

std::string FindingText(const MapFinding& f, FindingWording wording, const ShownText& shown) {
    std::string text = Fill(Words(CellWords, wording, shown),
                            {std::to_string(f.X), std::to_string(f.Y), std::to_string(f.Z)});
    const std::string words = KindWords(f.Kind, wording, shown);
    switch (f.Kind) {
    case FindingKind::NoChip:
        return text + Fill(words, {std::to_string(f.Chip), std::to_string(TMap::ChipCount - 1)});
    case FindingKind::ShapeWouldFix:
        return text + Fill(words, {ChipText(f.Chip, shown), ChipText(f.ShapedChip, shown)});
    case FindingKind::BrokenObject:
        text += Fill(words, {ChipText(f.Chip, shown)});
        for (int k = 0; k < f.MissingCount; ++k) {
            const PartnerCell& p = f.Expected[k];
            if (k > 0) text += Words(PartnerSeparator, wording, shown);
            if (TMap::Inside(f.X, f.Y, p.Z))
                text += Fill(
                    Words(PartnerHoldsWords, wording, shown),
                    {std::to_string(p.Z), ChipText(f.Found[k], shown), ChipText(p.Chip, shown)});
            else
                text += Fill(Words(PartnerOutsideWords, wording, shown),
                             {std::to_string(p.Z), ChipText(p.Chip, shown)});
        }
        return text;
    }
    return text;
}

} // namespace quarvel
