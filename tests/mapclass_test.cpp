// Tests of the map document: the map file and its bad inputs, the safe
// save, names and terrain, and the neighbour upkeep of SetChip with its exact undo records.
#include "map/mapclass.h"
#include "map/maperror.h"
#include "tests/maptestutil.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quarvel;
using namespace quarvel::test;
using quarvel::test::ReadBytes;
using quarvel::test::TempDir;
using quarvel::test::WriteBytes;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;
const uint8_t NewName[10] = {0x90, 0x56, 0x8B, 0x4B, 0x83, 0x7D, 0x83, 0x62, 0x83, 0x76};

// A valid map file with random cells, terrain code 20 and the name "RANDOM".
Bytes RandomMapFile(uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(TMap::FileSize);
    for (auto& v : b) v = uint8_t(rng());
    std::memcpy(b.data(), "Ver1.6+", 8);
    b[12] = 20, b[13] = b[14] = b[15] = 0;
    std::memcpy(b.data() + 16, "RANDOM", 7);
    return b;
}

Bytes MapBytes(const TMap& m) {
    Bytes b(m.Header, m.Header + TMap::HeaderSize);
    b.insert(b.end(), m.Cells, m.Cells + TMap::CellCount);
    return b;
}

std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Everything LoadFromFile may change, to check that a refused load changed nothing.
struct Snapshot {
    Bytes Content;
    std::string FileName;
    bool Modified;
    int Current, RedoCount;
    Records Slot;
    explicit Snapshot(const TMap& m)
        : Content(MapBytes(m)), FileName(m.FileName), Modified(m.Modified),
          Current(m.UndoBuf.Current), RedoCount(m.UndoBuf.RedoCount),
          Slot(m.UndoBuf.Slots[m.UndoBuf.Current]) {}
    bool operator==(const Snapshot& o) const {
        return Content == o.Content && FileName == o.FileName && Modified == o.Modified &&
               Current == o.Current && RedoCount == o.RedoCount && Slot == o.Slot;
    }
};

// A map with some history, a name and a file name, to be left alone by failing loads.
std::unique_ptr<TMap> BusyMap() {
    auto m = NewMap();
    m->FileName = "/somewhere/old.map";
    m->UndoBuf.BeginStep();
    m->SetChip(1, 2, 3, 35);
    m->SetName("busy");
    return m;
}

// ---- New map and the file -----------------------------------------------------------------

TEST(MapFile, NewMapState) {
    auto m = NewMap();
    EXPECT_FALSE(m->Modified);
    EXPECT_TRUE(m->FileName.empty());
    EXPECT_EQ(m->UndoBuf.Current, 0);
    EXPECT_EQ(m->GetName(), std::string(NewName, NewName + 10));
    EXPECT_EQ(m->GetTerrain(), 0);
}

TEST(MapFile, SavedNewMapBytes) {
    TempDir dir;
    auto m = NewMap();
    ASSERT_TRUE(m->SaveToFile(dir.File("new.map")));
    Bytes b = ReadBytes(dir.File("new.map"));
    ASSERT_EQ(b.size(), 49200u);
    Bytes want(49200, 0);
    std::memcpy(want.data(), "Ver1.6+", 8);
    std::memcpy(want.data() + 16, NewName, 10);
    EXPECT_EQ(b, want);
    EXPECT_FALSE(m->Modified);
    EXPECT_EQ(m->FileName, dir.File("new.map"));
}

TEST(MapFile, GetChipOutsideIsEmpty) {
    auto m = NewMap();
    std::memset(m->Cells, 7, sizeof m->Cells);
    EXPECT_EQ(m->GetChip(-1, 0, 0), 0);
    EXPECT_EQ(m->GetChip(32, 0, 0), 0);
    EXPECT_EQ(m->GetChip(0, -1, 0), 0);
    EXPECT_EQ(m->GetChip(0, 32, 0), 0);
    EXPECT_EQ(m->GetChip(0, 0, -1), 0);
    EXPECT_EQ(m->GetChip(0, 0, 48), 0);
    EXPECT_EQ(m->GetChip(31, 31, 47), 7);
    EXPECT_EQ(m->GetChip(0, 0, 0), 7);
}

TEST(MapFile, CellIndexOrder) {
    TempDir dir;
    auto m = NewMap();
    m->SetChip(1, 2, 3, 9);
    ASSERT_TRUE(m->SaveToFile(dir.File("a.map")));
    Bytes b = ReadBytes(dir.File("a.map"));
    EXPECT_EQ(b[48 + 3 * 1024 + 2 * 32 + 1], 9);
}

TEST(MapFile, LoadRoundTrip) {
    TempDir dir;
    Bytes file = RandomMapFile(1);
    WriteBytes(dir.File("r.map"), file);
    auto m = BusyMap();
    ASSERT_TRUE(m->LoadFromFile(dir.File("r.map")));
    EXPECT_EQ(MapBytes(*m), file);
    EXPECT_FALSE(m->Modified);
    EXPECT_EQ(m->FileName, dir.File("r.map"));
    EXPECT_EQ(m->UndoBuf.Current, 0);
    EXPECT_FALSE(m->Undo());
    EXPECT_EQ(m->GetTerrain(), 2);
    EXPECT_EQ(m->GetName(), "RANDOM");
    ASSERT_TRUE(m->SaveToFile(dir.File("s.map")));
    EXPECT_EQ(ReadBytes(dir.File("s.map")), file); // the header comes back byte for byte
}

TEST(MapFile, TagRules) {
    TempDir dir;
    Bytes file = RandomMapFile(2);
    file[7] = 'x'; // "Ver1.6+" followed by a non-zero byte
    WriteBytes(dir.File("bad.map"), file);
    auto m = BusyMap();
    Snapshot before(*m);
    EXPECT_FALSE(m->LoadFromFile(dir.File("bad.map")));
    EXPECT_TRUE(Snapshot(*m) == before);

    file[7] = 0; // whatever the rest of the header holds
    file[8] = 0xFF, file[12] = 0x77, file[47] = 0x80;
    WriteBytes(dir.File("good.map"), file);
    EXPECT_TRUE(m->LoadFromFile(dir.File("good.map")));

    Bytes ver15 = RandomMapFile(3);
    ver15[5] = '5';
    WriteBytes(dir.File("v15.map"), ver15);
    EXPECT_FALSE(m->LoadFromFile(dir.File("v15.map")));
}

TEST(MapFile, LongerFileLoadsItsFirst49200Bytes) {
    TempDir dir;
    Bytes file = RandomMapFile(4);
    Bytes longer = file;
    longer.resize(60000, 0xEE);
    WriteBytes(dir.File("long.map"), longer);
    auto m = NewMap();
    ASSERT_TRUE(m->LoadFromFile(dir.File("long.map")));
    EXPECT_EQ(MapBytes(*m), file);
}

// Files of 0..49,199 bytes: with the tag's bytes present they load, the missing bytes zero;
// without them they are refused and nothing changes.
TEST(MapFile, ShortFiles) {
    TempDir dir;
    const Bytes full = RandomMapFile(5);
    for (size_t size : {0, 1, 6, 7, 8, 12, 20, 47, 48, 49, 1072, 25000, 49199}) {
        SCOPED_TRACE(size);
        Bytes prefix(full.begin(), full.begin() + long(size));
        WriteBytes(dir.File("short.map"), prefix);
        auto m = BusyMap();
        Snapshot before(*m);
        bool loaded = m->LoadFromFile(dir.File("short.map"));
        if (size < 7) {
            EXPECT_FALSE(loaded);
            EXPECT_TRUE(Snapshot(*m) == before);
            continue;
        }
        // From 7 bytes on the tag is there: its terminating zero, like every missing byte,
        // reads as zero.
        ASSERT_TRUE(loaded);
        Bytes want(TMap::FileSize, 0);
        std::copy(prefix.begin(), prefix.end(), want.begin());
        EXPECT_EQ(MapBytes(*m), want);
        EXPECT_FALSE(m->Modified);
        EXPECT_EQ(m->UndoBuf.Current, 0);

        Bytes noTag = prefix;
        for (size_t i = 0; i < noTag.size() && i < 8; ++i) noTag[i] = uint8_t('a' + i);
        WriteBytes(dir.File("notag.map"), noTag);
        auto n = BusyMap();
        Snapshot nb(*n);
        EXPECT_FALSE(n->LoadFromFile(dir.File("notag.map")));
        EXPECT_TRUE(Snapshot(*n) == nb);
    }
}

TEST(MapFile, BytesAbove167KeepTheirValue) {
    TempDir dir;
    Bytes file(TMap::FileSize, 0);
    std::memcpy(file.data(), "Ver1.6+", 8);
    auto at = [](int v) { return TMap::Index((v - 168) % 32, (v - 168) / 32, 10); };
    for (int v = 168; v < 256; ++v) file[48 + size_t(at(v))] = uint8_t(v);
    for (int v = 168; v < 256; ++v) file[48 + size_t(at(v)) + 1024 * 10] = uint8_t(v); // level 20
    WriteBytes(dir.File("high.map"), file);
    auto m = NewMap();
    ASSERT_TRUE(m->LoadFromFile(dir.File("high.map")));
    for (int v = 168; v < 256; ++v) EXPECT_EQ(m->Cells[at(v)], v);
    EXPECT_FALSE(m->Shape());
    EXPECT_EQ(m->GetViewChip(0, 0, 10), 168);
    // Writing and overwriting them touches no other level.
    m->UndoBuf.BeginStep();
    m->SetChip(0, 0, 10, 250);
    m->SetChip(0, 0, 10, 3);
    EXPECT_EQ(m->UndoBuf.Slots[m->UndoBuf.Current], (Records{R(0, 0, 10, 168), R(0, 0, 10, 250)}));
    Bytes after = MapBytes(*m);
    after[48 + TMap::Index(0, 0, 10)] = 168;
    EXPECT_EQ(after, file);
}

TEST(MapFile, LoadErrorsNameTheFileAndChangeNothing) {
    TempDir dir;
    auto m = BusyMap();
    Snapshot before(*m);
    auto expectError = [&](const std::string& path) {
        try {
            m->LoadFromFile(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const QuarvelError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
        EXPECT_TRUE(Snapshot(*m) == before) << path;
    };
    expectError(dir.File("missing.map"));
    fs::create_directory(dir.File("folder.map"));
    expectError(dir.File("folder.map"));
    expectError(dir.File("nofolder/x.map"));
    if (fs::exists("/proc/self/mem")) expectError("/proc/self/mem"); // read fails (EIO)
    if (geteuid() != 0) {                                            // root reads anything
        WriteBytes(dir.File("locked.map"), RandomMapFile(6));
        chmod(dir.File("locked.map").c_str(), 0);
        expectError(dir.File("locked.map"));
    }
}

// ---- Saving -------------------------------------------------------------------------------

TEST(MapSave, EmptyNameWithoutFileName) {
    auto m = NewMap();
    m->SetChip(0, 0, 0, 1);
    EXPECT_FALSE(m->SaveToFile(""));
    EXPECT_TRUE(m->Modified);
    EXPECT_TRUE(m->FileName.empty());
}

TEST(MapSave, EmptyNameSavesUnderFileName) {
    TempDir dir;
    auto m = NewMap();
    ASSERT_TRUE(m->SaveToFile(dir.File("a.map")));
    m->SetChip(3, 3, 3, 12);
    EXPECT_TRUE(m->Modified);
    ASSERT_TRUE(m->SaveToFile(""));
    EXPECT_FALSE(m->Modified);
    EXPECT_EQ(ReadBytes(dir.File("a.map")), MapBytes(*m));
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"a.map"});
}

TEST(MapSave, ReplacesAndKeepsModeAndHistory) {
    TempDir dir;
    WriteBytes(dir.File("a.map"), Bytes(10, 1));
    chmod(dir.File("a.map").c_str(), 0640);
    auto m = NewMap();
    m->UndoBuf.BeginStep();
    m->SetChip(1, 1, 1, 50);
    ASSERT_TRUE(m->SaveToFile(dir.File("a.map")));
    EXPECT_EQ(ReadBytes(dir.File("a.map")), MapBytes(*m));
    struct stat st;
    ASSERT_EQ(stat(dir.File("a.map").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(m->UndoBuf.Current, 1); // saving keeps the undo history
    EXPECT_TRUE(m->Undo());
}

TEST(MapSave, NewFileGetsTheUsualMode) {
    TempDir dir;
    mode_t old = umask(022);
    auto m = NewMap();
    ASSERT_TRUE(m->SaveToFile(dir.File("n.map")));
    umask(old);
    struct stat st;
    ASSERT_EQ(stat(dir.File("n.map").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(MapSave, ThroughASymbolicLink) {
    TempDir dir;
    WriteBytes(dir.File("real.map"), Bytes(5, 0));
    fs::create_symlink("real.map", dir.File("link.map"));
    auto m = NewMap();
    ASSERT_TRUE(m->SaveToFile(dir.File("link.map")));
    EXPECT_TRUE(fs::is_symlink(dir.File("link.map")));
    EXPECT_EQ(ReadBytes(dir.File("real.map")), MapBytes(*m));
}

// A failed save: QuarvelError naming the file, the old file untouched, no temporary file
// left, FileName already the new name and Modified still true.
void ExpectFailedSave(TMap& m, const std::string& target, const std::string& folder) {
    std::vector<std::string> entries = FolderEntries(folder);
    m.SetChip(4, 4, 4, 60);
    try {
        m.SaveToFile(target);
        ADD_FAILURE() << "no error saving " << target;
    } catch (const QuarvelError& e) {
        EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
    }
    EXPECT_EQ(m.FileName, target);
    EXPECT_TRUE(m.Modified);
    EXPECT_EQ(FolderEntries(folder), entries);
}

TEST(MapSave, WriteFailingHalfWayKeepsTheOldFile) {
    TempDir dir;
    const Bytes old = RandomMapFile(7);
    WriteBytes(dir.File("a.map"), old);
    auto m = NewMap();
    // Files may grow to 10,000 bytes only: the write of the temporary file fails part-way
    // (EFBIG), for root too.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 10000;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ExpectFailedSave(*m, dir.File("a.map"), dir.Path());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadBytes(dir.File("a.map")), old);
}

TEST(MapSave, TargetIsAFolder) {
    TempDir dir;
    fs::create_directory(dir.File("a.map"));
    WriteBytes(dir.File("a.map/inside"), Bytes(3, 3));
    auto m = NewMap();
    ExpectFailedSave(*m, dir.File("a.map"), dir.Path());
    EXPECT_TRUE(fs::is_directory(dir.File("a.map")));
    EXPECT_EQ(ReadBytes(dir.File("a.map/inside")), Bytes(3, 3));
}

TEST(MapSave, FolderThatCannotHoldTheFile) {
    TempDir dir;
    WriteBytes(dir.File("plain"), Bytes(4, 4));
    auto m = NewMap();
    ExpectFailedSave(*m, dir.File("plain/a.map"), dir.Path()); // the parent is a file
    EXPECT_EQ(ReadBytes(dir.File("plain")), Bytes(4, 4));
    ExpectFailedSave(*m, dir.File("missing/a.map"), dir.Path());
}

TEST(MapSave, ModifiedStaysTrueAfterAFailureThenASaveClearsIt) {
    TempDir dir;
    auto m = NewMap();
    ExpectFailedSave(*m, dir.File("missing/a.map"), dir.Path());
    fs::create_directory(dir.File("missing"));
    ASSERT_TRUE(m->SaveToFile(""));
    EXPECT_FALSE(m->Modified);
    EXPECT_EQ(ReadBytes(dir.File("missing/a.map")), MapBytes(*m));
}

// ---- Name and terrain ---------------------------------------------------------------------

TEST(MapName, LongTextKeeps20Bytes) {
    auto m = NewMap();
    m->SetName("ABCDEFGHIJKLMNOPQRSTUVWXY");
    EXPECT_EQ(m->GetName(), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(m->Header[16 + 20], 0);
    EXPECT_TRUE(m->Modified);
}

TEST(MapName, NeverKeepsHalfADoubleByteCharacter) {
    const std::string kan = "\x8A\xBF"; // one double-byte character
    auto m = NewMap();
    m->SetName(std::string(19, 'a') + kan);
    EXPECT_EQ(m->GetName(), std::string(19, 'a'));
    EXPECT_EQ(m->Header[16 + 19], 0);
    m->SetName(std::string(18, 'a') + kan + kan);
    EXPECT_EQ(m->GetName(), std::string(18, 'a') + kan);
    m->SetName(kan + "b" + std::string(17, 'c') + kan);
    EXPECT_EQ(m->GetName(), kan + "b" + std::string(17, 'c'));
}

TEST(MapName, ShortTextLeavesOldBytesAfterTheTerminator) {
    TempDir dir;
    auto m = NewMap();
    m->SetName("ab");
    EXPECT_EQ(m->GetName(), "ab");
    ASSERT_TRUE(m->SaveToFile(dir.File("a.map")));
    Bytes b = ReadBytes(dir.File("a.map"));
    Bytes name(b.begin() + 16, b.begin() + 48);
    Bytes want = {'a', 'b', 0, 0x4B, 0x83, 0x7D, 0x83, 0x62, 0x83, 0x76};
    want.resize(32, 0);
    EXPECT_EQ(name, want);
}

TEST(MapName, UnchangedNameStillMarksModified) {
    auto m = NewMap();
    m->SetName(m->GetName());
    EXPECT_TRUE(m->Modified);
}

TEST(MapName, ThirtyTwoByteName) {
    TempDir dir;
    Bytes file = RandomMapFile(8);
    for (int i = 16; i < 48; ++i) file[size_t(i)] = uint8_t('A' + i - 16);
    WriteBytes(dir.File("n.map"), file);
    auto m = NewMap();
    ASSERT_TRUE(m->LoadFromFile(dir.File("n.map")));
    EXPECT_EQ(m->GetName().size(), 32u);
    EXPECT_EQ(m->GetName(), std::string(file.begin() + 16, file.begin() + 48));
}

TEST(MapTerrain, StoredTimesTen) {
    auto m = NewMap();
    m->SetTerrain(2);
    EXPECT_EQ(m->Header[12], 20);
    EXPECT_EQ(m->GetTerrain(), 2);
    EXPECT_TRUE(m->Modified);
    m->Header[12] = 25;
    EXPECT_EQ(m->GetTerrain(), 2);
    m->Header[12] = 0xD2, m->Header[13] = 0x04; // 1234
    EXPECT_EQ(m->GetTerrain(), 123);
    m->SetTerrain(3);
    EXPECT_EQ(m->Header[12], 30);
    EXPECT_EQ(m->Header[13], 0);
}

// ---- Neighbour upkeep ----------------------------------------------------------

// The column (5, 5) as level -> chip, non-empty levels only.
std::map<int, int> Column(const TMap& m) {
    std::map<int, int> c;
    for (int z = 0; z < 48; ++z)
        if (m.GetChip(5, 5, z)) c[z] = m.GetChip(5, 5, z);
    return c;
}

const Records& StepRecords(const TMap& m) {
    return m.UndoBuf.Slots[m.UndoBuf.Current];
}

TEST(Upkeep, WorkedExample) {
    auto m = NewMap();
    m->UndoBuf.BeginStep();
    m->SetChip(5, 5, 10, 33);
    EXPECT_EQ(Column(*m), (std::map<int, int>{{8, 35}, {9, 34}, {10, 33}}));
    EXPECT_EQ(StepRecords(*m), (Records{R(5, 5, 10, 0), R(5, 5, 9, 0), R(5, 5, 8, 0)}));

    m->UndoBuf.BeginStep();
    m->SetChip(5, 5, 9, 0);
    EXPECT_EQ(Column(*m), (std::map<int, int>{}));
    EXPECT_EQ(StepRecords(*m), (Records{R(5, 5, 9, 34), R(5, 5, 8, 35), R(5, 5, 10, 33)}));

    EXPECT_TRUE(m->Undo()); // brings all three parts back
    EXPECT_EQ(Column(*m), (std::map<int, int>{{8, 35}, {9, 34}, {10, 33}}));
    // The slot now holds what undoes the undo: one record per replayed write, newest first.
    // The replay runs no upkeep, so the step keeps its size.
    EXPECT_EQ(m->UndoBuf.Slots[2], (Records{R(5, 5, 10, 0), R(5, 5, 8, 0), R(5, 5, 9, 0)}));

    m->UndoBuf.BeginStep();
    m->SetChip(5, 5, 3, 41);
    EXPECT_EQ(m->GetChip(5, 5, 4), 40);
    EXPECT_EQ(StepRecords(*m), (Records{R(5, 5, 3, 0), R(5, 5, 4, 0)}));
    m->UndoBuf.BeginStep();
    m->SetChip(5, 5, 4, 0);
    EXPECT_EQ(m->GetChip(5, 5, 3), 0);
    EXPECT_EQ(StepRecords(*m), (Records{R(5, 5, 4, 40), R(5, 5, 3, 41)}));
}

// Every byte value written on level 20 of an empty column: which other levels it fills.
TEST(Upkeep, PartnerTable) {
    for (int k = 0; k < 256; ++k) {
        std::map<int, int> want;
        if (k) want[20] = k;
        if (k == 33 || k == 36) want[19] = k + 1, want[18] = k + 2;
        if (k == 34 || k == 37) want[21] = k - 1, want[19] = k + 1;
        if (k == 35 || k == 38) want[21] = k - 1, want[22] = k - 2;
        if (k >= 40 && k <= 49) (k % 2 ? want[21] = k - 1 : want[19] = k + 1);
        if ((k >= 136 && k <= 143) || (k >= 152 && k <= 159)) want[21] = k + 8;
        if ((k >= 144 && k <= 151) || (k >= 160 && k <= 167)) want[19] = k - 8;
        auto m = NewMap();
        m->SetChip(5, 5, 20, uint8_t(k));
        EXPECT_EQ(Column(*m), want) << k;
        for (int z = 0; z < 48; ++z)
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    if (x != 5 || y != 5) {
                        ASSERT_EQ(m->GetChip(x, y, z), 0) << k;
                    }
    }
}

TEST(Upkeep, AnyPartBuildsItsWholeObjectAndTheFloorEndsIt) {
    auto m = NewMap();
    m->SetChip(5, 5, 20, 38);
    EXPECT_EQ(Column(*m), (std::map<int, int>{{20, 38}, {21, 37}, {22, 36}}));
    m->Clear();
    m->SetChip(5, 5, 20, 34);
    EXPECT_EQ(Column(*m), (std::map<int, int>{{19, 35}, {20, 34}, {21, 33}}));
    m->Clear();
    m->SetChip(5, 5, 0, 137);
    EXPECT_EQ(Column(*m), (std::map<int, int>{{0, 137}, {1, 145}}));
    m->Clear();
    m->SetChip(5, 5, 1, 145);
    EXPECT_EQ(Column(*m), (std::map<int, int>{{0, 137}, {1, 145}}));
    m->Clear();
    m->SetChip(5, 5, 3, 41);
    m->SetChip(5, 5, 4, 0);
    EXPECT_EQ(Column(*m), (std::map<int, int>{}));
}

TEST(Upkeep, SamePartAgainRewritesTheObject) {
    auto m = NewMap();
    m->SetChip(5, 5, 20, 35);
    m->UndoBuf.BeginStep();
    m->SetChip(5, 5, 20, 35);
    EXPECT_EQ(Column(*m), (std::map<int, int>{{20, 35}, {21, 34}, {22, 33}}));
    EXPECT_EQ(StepRecords(*m), (Records{R(5, 5, 20, 35), R(5, 5, 21, 34), R(5, 5, 22, 33),
                                        R(5, 5, 21, 0), R(5, 5, 22, 0)}));
}

TEST(Upkeep, TreeTopOverAFenceTop) {
    auto m = NewMap();
    m->SetChip(5, 5, 9, 41); // fence: 41 on 9, 40 on 10
    m->UndoBuf.BeginStep();
    m->SetChip(5, 5, 10, 33);
    EXPECT_EQ(Column(*m), (std::map<int, int>{{8, 35}, {9, 34}, {10, 33}}));
    EXPECT_EQ(StepRecords(*m),
              (Records{R(5, 5, 10, 40), R(5, 5, 9, 41), R(5, 5, 9, 0), R(5, 5, 8, 0)}));
}

TEST(Upkeep, TreeTopAboveAFence) {
    auto m = NewMap();
    m->SetChip(5, 5, 7, 41); // fence: 41 on 7, 40 on 8
    m->UndoBuf.BeginStep();
    m->SetChip(5, 5, 10, 33);
    EXPECT_EQ(Column(*m), (std::map<int, int>{{8, 35}, {9, 34}, {10, 33}}));
    EXPECT_EQ(StepRecords(*m),
              (Records{R(5, 5, 10, 0), R(5, 5, 7, 41), R(5, 5, 9, 0), R(5, 5, 8, 40)}));
    EXPECT_TRUE(m->Undo());
    EXPECT_EQ(Column(*m), (std::map<int, int>{{7, 41}, {8, 40}}));
}

TEST(Upkeep, ChipsWithoutPartnersTouchNothingElse) {
    for (int k : {0, 1, 32, 39, 50, 58, 100, 120, 121, 122, 123, 128, 135, 168, 255}) {
        auto m = NewMap();
        for (int z = 0; z < 48; ++z) m->Cells[TMap::Index(5, 5, z)] = 33; // anything
        m->UndoBuf.BeginStep();
        m->Cells[TMap::Index(5, 5, 20)] = 50;
        m->SetChip(5, 5, 20, uint8_t(k));
        EXPECT_EQ(StepRecords(*m), (Records{R(5, 5, 20, 50)})) << k;
        for (int z = 0; z < 48; ++z)
            if (z != 20) {
                EXPECT_EQ(m->GetChip(5, 5, z), 33) << k;
            }
    }
}

// Partner levels outside 0..47 are skipped: only the partners inside the map are written.
TEST(Upkeep, PartnerLevelsOutsideTheMapAreSkipped) {
    struct Case {
        int Z, Chip;
        std::map<int, int> Col;
        Records Recs;
    };
    const Case cases[] = {
        {0, 33, {{0, 33}}, {R(5, 5, 0, 0)}},
        {1, 33, {{0, 34}, {1, 33}}, {R(5, 5, 1, 0), R(5, 5, 0, 0)}},
        {0, 36, {{0, 36}}, {R(5, 5, 0, 0)}},
        {0, 34, {{0, 34}, {1, 33}}, {R(5, 5, 0, 0), R(5, 5, 1, 0)}},
        {47, 34, {{46, 35}, {47, 34}}, {R(5, 5, 47, 0), R(5, 5, 46, 0)}},
        {46, 35, {{46, 35}, {47, 34}}, {R(5, 5, 46, 0), R(5, 5, 47, 0)}},
        {47, 38, {{47, 38}}, {R(5, 5, 47, 0)}},
        {47, 41, {{47, 41}}, {R(5, 5, 47, 0)}},
        {0, 40, {{0, 40}}, {R(5, 5, 0, 0)}},
        {47, 136, {{47, 136}}, {R(5, 5, 47, 0)}},
        {0, 167, {{0, 167}}, {R(5, 5, 0, 0)}},
    };
    for (const Case& c : cases) {
        auto m = NewMap();
        m->UndoBuf.BeginStep();
        m->SetChip(5, 5, c.Z, uint8_t(c.Chip));
        EXPECT_EQ(Column(*m), c.Col) << c.Z << " " << c.Chip;
        EXPECT_EQ(StepRecords(*m), c.Recs) << c.Z << " " << c.Chip;
        // Overwriting it unlinks the partners that exist, and nothing else.
        m->UndoBuf.BeginStep();
        m->SetChip(5, 5, c.Z, 0);
        EXPECT_EQ(Column(*m), (std::map<int, int>{})) << c.Z << " " << c.Chip;
        EXPECT_TRUE(m->Undo());
        EXPECT_EQ(Column(*m), c.Col) << c.Z << " " << c.Chip;
    }
}

TEST(Upkeep, UnlinkOfLoadedObjectsAtTheEdges) {
    auto m = NewMap();
    m->Cells[TMap::Index(5, 5, 0)] = 33; // top on level 0, as a loaded file may hold
    m->Cells[TMap::Index(5, 5, 1)] = 12;
    m->Cells[TMap::Index(5, 5, 47)] = 35; // bottom on level 47
    m->Cells[TMap::Index(5, 5, 46)] = 12;
    m->UndoBuf.BeginStep();
    m->SetChip(5, 5, 0, 0);
    m->SetChip(5, 5, 47, 0);
    EXPECT_EQ(StepRecords(*m), (Records{R(5, 5, 0, 33), R(5, 5, 47, 35)}));
    EXPECT_EQ(m->GetChip(5, 5, 1), 12);
    EXPECT_EQ(m->GetChip(5, 5, 46), 12);
}

// An inconsistent column (an upper fence half with nothing below it): the unlink of the
// partner level clears the written cell itself, and the partners are derived from what the
// cell then holds (0 - 1 and 0 - 2 as bytes). Everything stays in the column; the undo
// replays through SetChip, whose upkeep cannot rebuild the inconsistent column.
TEST(Upkeep, InconsistentColumnStaysInside) {
    auto m = NewMap();
    m->Cells[TMap::Index(5, 5, 21)] = 40;
    m->UndoBuf.BeginStep();
    m->SetChip(5, 5, 20, 35);
    EXPECT_EQ(Column(*m), (std::map<int, int>{{21, 255}, {22, 254}}));
    EXPECT_EQ(StepRecords(*m),
              (Records{R(5, 5, 20, 0), R(5, 5, 20, 35), R(5, 5, 21, 40), R(5, 5, 22, 0)}));
    EXPECT_TRUE(m->Undo());
    EXPECT_EQ(m->GetChip(5, 5, 20), 0);
    for (int z = 0; z < 48; ++z)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (x != 5 || y != 5) {
                    ASSERT_EQ(m->GetChip(x, y, z), 0);
                }
}

TEST(Upkeep, SetChipOutsideTheMapIsIgnored) {
    auto m = NewMap();
    m->SetChip(-1, 0, 0, 5);
    m->SetChip(0, 0, 48, 5);
    EXPECT_EQ(m->UndoBuf.Count(), 0);
    EXPECT_FALSE(m->Modified);
}

TEST(Upkeep, SetChipRecordsAndMarksEvenWhenUnchanged) {
    auto m = NewMap();
    m->SetChip(2, 2, 2, 0);
    EXPECT_EQ(m->UndoBuf.Slots[0], Records{R(2, 2, 2, 0)}); // no step open: the floor slot
    EXPECT_TRUE(m->Modified);
}

} // namespace
