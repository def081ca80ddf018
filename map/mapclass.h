// The map document: 48 levels of 32 x 32 chips, its header, its file and its undo history.
#pragma once

#include "map/undobuffer.h"

#include <cstdint>
#include <string>

namespace quarvel {

// One partner cell of a multi-level object part: the level it lies on (possibly outside
// 0..47) and the chip that writing the part puts there.
struct PartnerCell {
    int Z;
    uint8_t Chip;
};

// The partner cells that writing `chip` on level z fills, in the order the write fills them;
// returns their count (0 for a chip without partners, else 1 or 2). Levels outside the map
// are listed too: the write skips them.
int PartnersOf(uint8_t chip, int z, PartnerCell (&out)[2]);

class TMap {
public:
    static constexpr int SizeX = 32;
    static constexpr int SizeY = 32;
    static constexpr int SizeZ = 48;
    static constexpr int LevelSize = SizeX * SizeY;     // cells of one level, 1,024
    static constexpr int CellCount = LevelSize * SizeZ; // 49,152
    static constexpr int ChipCount = 168;               // chips 0..167 have pictures and names
    static constexpr int HeaderSize = 48;
    static constexpr int FileSize = HeaderSize + CellCount; // 49,200
    static constexpr int NameSize = 32;
    static constexpr int NameOffset = 16;
    static constexpr int NameMaxBytes = 20; // SetName keeps at most this many bytes
    static constexpr int TerrainOffset = 12;

    uint8_t Header[HeaderSize] = {};
    uint8_t Cells[CellCount] = {};
    std::string FileName; // file-system path (UTF-8)
    bool Modified = false;
    TUndoBuf UndoBuf;

    static constexpr int Index(int x, int y, int z) { return z * LevelSize + y * SizeX + x; }
    static constexpr bool Inside(int x, int y, int z) {
        return unsigned(x) < unsigned(SizeX) && unsigned(y) < unsigned(SizeY) &&
               unsigned(z) < unsigned(SizeZ);
    }

    void Clear();
    // False when the file is not a map (header tag); throws QuarvelError when it cannot be read
    // or is no regular file (a pipe or device is refused without waiting on it).
    bool LoadFromFile(const std::string& name);
    // False when there is no name at all; throws QuarvelError when the file cannot be written
    // (WriteProtected for a file the user may not write: it stays Modified).
    // `backupFolder`: see WriteToFile.
    bool SaveToFile(const std::string& name, const std::string& backupFolder = "");
    // Writes the map file (49,200 bytes) to `path` safely, leaving FileName and Modified as
    // they are (a copy elsewhere, say). Throws QuarvelError when it cannot be written. With a
    // `backupFolder`, a writable file in a folder the user may not write is rewritten in
    // place, its old bytes kept there meanwhile (TSaveFile::Choices::BackupFolder).
    void WriteToFile(const std::string& path, const std::string& backupFolder = "") const;

    uint8_t GetChip(int x, int y, int z) const {
        return Inside(x, y, z) ? Cells[Index(x, y, z)] : 0;
    }
    void SetChip(int x, int y, int z, uint8_t chip);

    std::string GetName() const; // code page 932 bytes
    // Marks the map modified and keeps the longest part of `text` (code page 932) that fits
    // NameMaxBytes without cutting a double-byte character, then a zero byte.
    void SetName(const std::string& text);
    int GetTerrain() const;
    void SetTerrain(int n);

    bool Undo();
    bool Redo();
    bool Shape();
    uint8_t GetViewChip(int x, int y, int z) const;
    // The chip Shape writes into the cell, or the chip it holds where Shape leaves it. It
    // reads the cell and the cells around it within one column, row and level.
    uint8_t ShapedChip(int x, int y, int z) const;

    int EdgeVariant(int x, int y, int z) const;
    int BridgeVariant(int x, int y, int z) const;
    int RiverVariant(int x, int y, int z) const;

private:
    void UnlinkCell(int x, int y, int z);
    void LinkCell(int x, int y, int z);
};

} // namespace quarvel
