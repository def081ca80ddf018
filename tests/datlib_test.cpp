// Tests of the map archive: record and index layout, list file lines, dummy substitution,
// round trips, and refusal of broken or hostile archives without losing files.
#include "archive/datlib.h"
#include "map/maperror.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace quarvel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using test::ReadBytes;
using test::WriteBytes;

// A map file whose every byte depends on `seed`, so records of different maps differ.
Bytes MakeMap(int seed, size_t size = 49200) {
    Bytes b(size);
    const char tag[8] = "Ver1.6+";
    for (int i = 0; i < 8; ++i) b[i] = uint8_t(tag[i]);
    for (size_t i = 8; i < size; ++i) b[i] = uint8_t((i * 7 + size_t(seed) * 31 + i / 1024) % 251);
    return b;
}

uint32_t Long(const Bytes& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

// A program folder with map/, dat/ and dat/unpacked/.
class DatTest : public ::testing::Test {
protected:
    test::TempDir Tmp;
    std::string Root = Tmp.Path() + "/";

    void SetUp() override {
        fs::create_directories(Root + "map");
        fs::create_directories(Root + "dat/unpacked");
    }
    std::string Map(const std::string& name) const { return Root + "map/" + name; }
    std::string Dat(const std::string& name) const { return Root + "dat/" + name; }
    std::string Unpacked(const std::string& name) const { return Root + "dat/unpacked/" + name; }
    void WriteList(const std::string& text) {
        WriteBytes(Map("map.ini"), Bytes(text.begin(), text.end()));
    }
    std::vector<std::string> FilesIn(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Builds a one-map archive from `name` -> `map` content.
    void BuildOne(const std::string& name, const Bytes& map) {
        WriteBytes(Map(name), map);
        WriteList(name + "\r\n");
        ASSERT_TRUE(BuildDat(Root));
    }
    // Expects `fn` to throw QuarvelError whose message contains `part`.
    template <class Fn> void ExpectError(Fn fn, const std::string& part) {
        try {
            fn();
            ADD_FAILURE() << "no error; expected one naming " << part;
        } catch (const QuarvelError& e) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
    }
};

TEST(DatListLines, EndingsAndEmptyLines) {
    using L = std::vector<std::string>;
    EXPECT_EQ(SplitListLines(""), L{});
    EXPECT_EQ(SplitListLines("a\rb\nc\r\nd"), (L{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitListLines("a\r\n"), L{"a"});
    EXPECT_EQ(SplitListLines("\n"), L{""});
    EXPECT_EQ(SplitListLines("a\n\nb\n"), (L{"a", "", "b"}));
    EXPECT_EQ(SplitListLines("a\r\rb"), (L{"a", "", "b"}));
    EXPECT_EQ(SplitListLines("a\n\r"), (L{"a", ""})); // LF then a lone CR: two endings
    EXPECT_EQ(SplitListLines(" a.map \t"), L{" a.map \t"});
}

// The list reader that pack and check share, read in pieces, splits as the plain splitter
// does; the most lines an archive holds are read, more are refused, counted to the end.
TEST(DatListLines, ReadingStopsAtTheArchivesLimit) {
    test::TempDir dir;
    const std::string ini = dir.File("map.ini");
    std::string text;
    for (int i = 0; i < 43549; ++i) text += i % 3 ? "a.map\r\n" : "\r\n";
    WriteBytes(ini, Bytes(text.begin(), text.end()));
    const std::vector<std::string> lines = ReadListFile(ini);
    ASSERT_EQ(lines.size(), 43549u);
    EXPECT_EQ(lines, SplitListLines(text));
    text += "\n\n";
    WriteBytes(ini, Bytes(text.begin(), text.end()));
    try {
        ReadListFile(ini);
        FAIL() << "43,551 lines read";
    } catch (const QuarvelError& e) {
        EXPECT_EQ(e.Kind, ErrorKind::TooManyEntries);
        EXPECT_EQ(e.EntryCount, 43551u);
    }
}

TEST(DatLibName, CutAt30BytesAndZeroFilled) {
    uint8_t field[LibNameSize];
    MakeLibName(std::string(35, 'x'), field);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(field[i], 'x');
    for (int i = 30; i < 32; ++i) EXPECT_EQ(field[i], 0);
    MakeLibName("ab", field);
    EXPECT_EQ(field[0], 'a');
    for (int i = 2; i < 32; ++i) EXPECT_EQ(field[i], 0);
}

TEST_F(DatTest, EmptyListGivesEmptyArchive) {
    WriteList("");
    EXPECT_TRUE(BuildDat(Root));
    EXPECT_EQ(ReadBytes(Dat("data1.dat")).size(), 0u);
    EXPECT_EQ(ReadBytes(Dat("data1.lib")).size(), 0u);
    EXPECT_EQ(FilesIn(Root + "dat"),
              (std::vector<std::string>{"data1.dat", "data1.lib", "unpacked"}));
}

TEST_F(DatTest, ThreeMapsRecordAndIndexLayout) {
    std::vector<Bytes> maps = {MakeMap(1), MakeMap(2), MakeMap(3)};
    const char* names[] = {"a.map", "second.map", "c.map"};
    for (int i = 0; i < 3; ++i) WriteBytes(Map(names[i]), maps[i]);
    WriteList("a.map\r\nsecond.map\r\nc.map\r\n");
    std::vector<std::pair<size_t, size_t>> progress;
    DatOptions opts;
    opts.Progress = [&](size_t done, size_t total) { progress.emplace_back(done, total); };
    ASSERT_TRUE(BuildDat(Root, opts));
    EXPECT_EQ(progress.back(), (std::pair<size_t, size_t>{3, 3}));

    Bytes dat = ReadBytes(Dat("data1.dat"));
    Bytes lib = ReadBytes(Dat("data1.lib"));
    ASSERT_EQ(dat.size(), 147936u);
    ASSERT_EQ(lib.size(), 120u);
    for (int i = 0; i < 3; ++i) {
        const size_t rec = size_t(i) * 49312;
        SCOPED_TRACE(i);
        EXPECT_EQ(dat[rec], 0x94);
        EXPECT_EQ(dat[rec + 1], 0xC0);
        EXPECT_EQ(dat[rec + 2], 0x20);
        EXPECT_EQ(dat[rec + 3], 0x30);
        EXPECT_TRUE(std::equal(maps[i].begin(), maps[i].begin() + 48, dat.begin() + rec + 4));
        for (int z = 0; z < 48; ++z) {
            const size_t block = rec + 52 + size_t(z) * 1026;
            ASSERT_EQ(dat[block], 0x24);
            ASSERT_EQ(dat[block + 1], 0x00);
            ASSERT_TRUE(std::equal(maps[i].begin() + 48 + z * 1024,
                                   maps[i].begin() + 48 + (z + 1) * 1024, dat.begin() + block + 2));
        }
        for (int k = 0; k < 12; ++k) EXPECT_EQ(dat[rec + 49300 + k], 0);

        const size_t e = size_t(i) * 40;
        std::string stored(reinterpret_cast<const char*>(&lib[e]));
        EXPECT_EQ(stored, names[i]);
        for (size_t k = stored.size(); k < 32; ++k) EXPECT_EQ(lib[e + k], 0);
        EXPECT_EQ(Long(lib, e + 32), uint32_t(i) * 49312u);
        EXPECT_EQ(Long(lib, e + 36), 49300u);
    }
}

TEST_F(DatTest, MissingMapsAreArchivedAsDummyUnderTheirListedNames) {
    Bytes dummy = MakeMap(9);
    WriteBytes(Map("dummy.map"), dummy);
    WriteBytes(Map("real.map"), MakeMap(1));
    fs::create_directory(Map("folder.map")); // a folder is no map
    WriteList("gone.map\nreal.map\nfolder.map\n\n");
    ASSERT_TRUE(BuildDat(Root));
    Bytes lib = ReadBytes(Dat("data1.lib"));
    ASSERT_EQ(lib.size(), 160u);
    EXPECT_STREQ(reinterpret_cast<const char*>(&lib[0]), "gone.map");
    EXPECT_STREQ(reinterpret_cast<const char*>(&lib[80]), "folder.map");
    EXPECT_EQ(lib[120], 0); // the empty line: an empty name

    // Unpacking gives dummy.map under the listed names; the empty name is refused.
    lib.resize(120);
    WriteBytes(Dat("data1.lib"), lib);
    ASSERT_TRUE(UnpackDat(Root));
    EXPECT_EQ(ReadBytes(Unpacked("gone.map")), dummy);
    EXPECT_EQ(ReadBytes(Unpacked("real.map")), MakeMap(1));
    EXPECT_EQ(ReadBytes(Unpacked("folder.map")), dummy);
}

TEST_F(DatTest, LongNamesAndLongMaps) {
    const std::string longName = std::string(31, 'n') + ".map"; // 35 bytes
    Bytes big = MakeMap(4, 60000);
    BuildOne(longName, big);
    Bytes lib = ReadBytes(Dat("data1.lib"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&lib[0])), longName.substr(0, 30));
    EXPECT_EQ(ReadBytes(Dat("data1.dat")).size(), 49312u);

    ASSERT_TRUE(UnpackDat(Root));
    EXPECT_EQ(ReadBytes(Unpacked(longName.substr(0, 30))), Bytes(big.begin(), big.begin() + 49200));
}

TEST_F(DatTest, PackThenUnpackGivesTheMapsBack) {
    std::vector<std::string> names = {"one.map", "two.map", "three.map", "sub.map"};
    std::string list;
    for (size_t i = 0; i < names.size(); ++i) {
        WriteBytes(Map(names[i]), MakeMap(int(i) + 20));
        list += names[i] + (i % 2 ? "\n" : "\r\n");
    }
    WriteList(list);
    ASSERT_TRUE(BuildDat(Root));
    WriteBytes(Unpacked("one.map"), Bytes(10, 1)); // replaced whole
    ASSERT_TRUE(UnpackDat(Root));
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(ReadBytes(Unpacked(names[i])), MakeMap(int(i) + 20)) << names[i];
    EXPECT_EQ(FilesIn(Root + "dat/unpacked").size(), names.size()); // no temporaries left
}

TEST_F(DatTest, NameConversionHook) {
    // The index keeps the list's bytes; the file system sees the converted name.
    DatOptions opts;
    opts.ToFileName = [](const std::string& s) { return s == "\x83}" ? std::string("ma") : s; };
    WriteBytes(Map("ma"), MakeMap(5));
    WriteList("\x83}");
    ASSERT_TRUE(BuildDat(Root, opts));
    Bytes lib = ReadBytes(Dat("data1.lib"));
    EXPECT_EQ(lib[0], 0x83);
    EXPECT_EQ(lib[1], '}');
    ASSERT_TRUE(UnpackDat(Root, opts));
    EXPECT_EQ(ReadBytes(Unpacked("ma")), MakeMap(5));

    opts.ToFileName = [](const std::string&) -> std::string { throw QuarvelError("bad text"); };
    ExpectError([&] { BuildDat(Root, opts); }, "line 1");
}

TEST_F(DatTest, EmptyIndexUnpacksNothing) {
    WriteBytes(Dat("data1.dat"), {});
    WriteBytes(Dat("data1.lib"), {});
    EXPECT_TRUE(UnpackDat(Root));
    EXPECT_TRUE(FilesIn(Root + "dat/unpacked").empty());
}

TEST_F(DatTest, MissingPairIsFalseMissingFoldersAreErrors) {
    EXPECT_FALSE(UnpackDat(Root));
    WriteBytes(Dat("data1.lib"), {});
    EXPECT_FALSE(UnpackDat(Root));
    fs::create_directory(Dat("data1.dat"));
    EXPECT_FALSE(UnpackDat(Root)); // a folder is no archive file

    fs::remove(Dat("data1.dat"));
    WriteBytes(Dat("data1.dat"), {});
    fs::remove(Root + "dat/unpacked");
    ExpectError([&] { UnpackDat(Root); }, "unpacked");
    EXPECT_FALSE(fs::exists(Root + "dat/unpacked")); // never created

    WriteList("");
    fs::remove_all(Root + "map");
    ExpectError([&] { BuildDat(Root); }, "map folder");
    fs::remove_all(Root + "dat");
    ExpectError([&] { BuildDat(Root); }, "archive folder");
    EXPECT_FALSE(UnpackDat(Root)); // no archive folder: no archive pair either
    EXPECT_FALSE(fs::exists(Root + "dat"));
}

TEST_F(DatTest, FailedPackLeavesThePreviousArchive) {
    BuildOne("keep.map", MakeMap(7));
    const Bytes dat = ReadBytes(Dat("data1.dat"));
    const Bytes lib = ReadBytes(Dat("data1.lib"));
    auto expectUntouched = [&] {
        EXPECT_EQ(ReadBytes(Dat("data1.dat")), dat);
        EXPECT_EQ(ReadBytes(Dat("data1.lib")), lib);
        EXPECT_EQ(FilesIn(Root + "dat"),
                  (std::vector<std::string>{"data1.dat", "data1.lib", "unpacked"}));
    };

    // A listed map missing and no dummy.map.
    WriteList("keep.map\nnowhere.map\n");
    ExpectError([&] { BuildDat(Root); }, "nowhere.map");
    expectUntouched();

    // A map shorter than a map file, after a complete one.
    WriteBytes(Map("short.map"), MakeMap(8, 49199));
    WriteList("keep.map\nshort.map");
    ExpectError([&] { BuildDat(Root); }, "short.map");
    expectUntouched();

    // A dummy.map that is itself short.
    WriteBytes(Map("dummy.map"), MakeMap(8, 100));
    WriteList("nowhere.map");
    ExpectError([&] { BuildDat(Root); }, "dummy.map");
    expectUntouched();

    // No list file.
    fs::remove(Map("map.ini"));
    ExpectError([&] { BuildDat(Root); }, "map.ini");
    expectUntouched();

    // An archive file that is a folder cannot be replaced: found before anything is written.
    WriteList("keep.map");
    fs::remove(Dat("data1.lib"));
    fs::create_directories(Dat("data1.lib/inner"));
    ExpectError([&] { BuildDat(Root); }, "data1.lib");
    EXPECT_EQ(ReadBytes(Dat("data1.dat")), dat);
    fs::remove_all(Dat("data1.lib"));
    WriteBytes(Dat("data1.lib"), lib);

    // An archive folder that cannot be written to (root writes anywhere: not testable then).
    if (geteuid() != 0) {
        WriteList("keep.map");
        fs::permissions(Root + "dat", fs::perms::owner_write, fs::perm_options::remove);
        ExpectError([&] { BuildDat(Root); }, "dat/");
        fs::permissions(Root + "dat", fs::perms::owner_write, fs::perm_options::add);
        expectUntouched();
    }
}

TEST_F(DatTest, HostileEntryNamesAreRefusedBeforeTheirFileIsWritten) {
    BuildOne("good.map", MakeMap(3));
    const Bytes good = ReadBytes(Dat("data1.lib"));
    // The data file holds the record twice, as much as two entries unpack.
    const Bytes record = ReadBytes(Dat("data1.dat"));
    Bytes dat = record;
    dat.insert(dat.end(), record.begin(), record.end());
    WriteBytes(Dat("data1.dat"), dat);
    for (std::string name : {"../x", "/etc/x", "a\\b", "", "..", "sub/x"}) {
        SCOPED_TRACE(name);
        Bytes lib = good; // a good entry first, then the hostile one on the same record
        lib.insert(lib.end(), good.begin(), good.end());
        std::fill(lib.begin() + 40, lib.begin() + 72, 0);
        std::copy(name.begin(), name.end(), lib.begin() + 40);
        WriteBytes(Dat("data1.lib"), lib);
        ExpectError([&] { UnpackDat(Root); }, name.empty() ? "empty name" : "\"" + name + "\"");
        // The entry before it is unpacked; nothing is written anywhere else.
        EXPECT_EQ(FilesIn(Root + "dat/unpacked"), std::vector<std::string>{"good.map"});
        EXPECT_EQ(ReadBytes(Unpacked("good.map")), MakeMap(3));
        EXPECT_EQ(FilesIn(Root + "dat"),
                  (std::vector<std::string>{"data1.dat", "data1.lib", "unpacked"}));
        EXPECT_FALSE(fs::exists(Root + "x"));
        fs::remove(Unpacked("good.map"));
    }
}

TEST_F(DatTest, RecordsPastTheEndOfTheDataAreRefused) {
    BuildOne("cut.map", MakeMap(3));
    const Bytes whole = ReadBytes(Dat("data1.dat"));
    WriteBytes(Dat("data1.dat"), Bytes(whole.begin(), whole.begin() + 49299)); // one byte short
    ExpectError([&] { UnpackDat(Root); }, "cut.map");
    EXPECT_TRUE(FilesIn(Root + "dat/unpacked").empty());

    WriteBytes(Dat("data1.dat"), Bytes(whole.begin(), whole.begin() + 49300)); // no closing zeros
    EXPECT_TRUE(UnpackDat(Root));
    EXPECT_EQ(ReadBytes(Unpacked("cut.map")), MakeMap(3));

    Bytes lib = ReadBytes(Dat("data1.lib"));
    for (uint8_t b : {0xFF, 0x7F}) { // offsets -1 and 2,147,483,647
        lib[32] = lib[33] = lib[34] = 0xFF;
        lib[35] = b;
        WriteBytes(Dat("data1.lib"), lib);
        ExpectError([&] { UnpackDat(Root); }, "past the end");
    }

    // Two entries, the second cut short: the first is unpacked, the second's earlier file
    // stays as it was and no short map is written.
    WriteBytes(Map("first.map"), MakeMap(4));
    WriteBytes(Map("second.map"), MakeMap(5));
    WriteList("first.map\nsecond.map\n");
    ASSERT_TRUE(BuildDat(Root));
    const Bytes two = ReadBytes(Dat("data1.dat"));
    WriteBytes(Dat("data1.dat"), Bytes(two.begin(), two.begin() + 49312 + 49299));
    for (const auto& e : fs::directory_iterator(Root + "dat/unpacked")) fs::remove(e.path());
    WriteBytes(Unpacked("second.map"), MakeMap(9));
    ExpectError([&] { UnpackDat(Root); }, "second.map");
    EXPECT_EQ(ReadBytes(Unpacked("first.map")), MakeMap(4));
    EXPECT_EQ(ReadBytes(Unpacked("second.map")), MakeMap(9));
    EXPECT_EQ(FilesIn(Root + "dat/unpacked"),
              (std::vector<std::string>{"first.map", "second.map"}));
}

TEST_F(DatTest, IndexNotAMultipleOf40) {
    BuildOne("whole.map", MakeMap(2));
    Bytes lib = ReadBytes(Dat("data1.lib"));
    // Fewer than 32 trailing bytes: the normal end of the index.
    Bytes tail = lib;
    tail.insert(tail.end(), 31, 'q');
    WriteBytes(Dat("data1.lib"), tail);
    EXPECT_TRUE(UnpackDat(Root));
    EXPECT_EQ(FilesIn(Root + "dat/unpacked"), std::vector<std::string>{"whole.map"});
    fs::remove(Unpacked("whole.map"));

    // A name without its offset: an error naming the entry; the entry before it is unpacked.
    tail = lib;
    const std::string cut = "cutoff.map";
    tail.insert(tail.end(), cut.begin(), cut.end());
    tail.resize(40 + 36, 0);
    WriteBytes(Dat("data1.lib"), tail);
    ExpectError([&] { UnpackDat(Root); }, "cutoff.map");
    EXPECT_EQ(FilesIn(Root + "dat/unpacked"), std::vector<std::string>{"whole.map"});
}

TEST_F(DatTest, CliPackAndUnpack) {
    WriteBytes(Map("cli.map"), MakeMap(6));
    WriteList("cli.map\r\n");
    auto r = test::RunCli("pack --root '" + Root + "'");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("datフォルダに出力しました"), std::string::npos);
    r = test::RunCli("unpack --root '" + Root + "'");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("unpackedフォルダに出力しました"), std::string::npos);
    EXPECT_EQ(ReadBytes(Unpacked("cli.map")), MakeMap(6));

    fs::remove(Dat("data1.lib"));
    r = test::RunCli("unpack --root '" + Root + "'");
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("ファイルが見つかりません"), std::string::npos);

    WriteList("cli.map\nmissing.map\n");
    r = test::RunCli("pack --root '" + Root + "'");
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("missing.map"), std::string::npos);
    EXPECT_EQ(test::RunCli("pack --root").Status, 2);
    EXPECT_EQ(test::RunCli("unpack extra").Status, 2);
}

// ---- Refusals that keep the archive and the folders safe -----------------------------------

// Expects QuarvelError of `kind`; returns it for further checks.
template <class Fn> QuarvelError ErrorOf(Fn fn, ErrorKind kind) {
    try {
        fn();
    } catch (const QuarvelError& e) {
        EXPECT_EQ(int(e.Kind), int(kind)) << e.what();
        return e;
    }
    ADD_FAILURE() << "no error";
    return QuarvelError("none");
}

TEST_F(DatTest, PackReplacesThePairBothOrNeither) {
    BuildOne("old.map", MakeMap(1));
    const Bytes oldDat = ReadBytes(Dat("data1.dat")), oldLib = ReadBytes(Dat("data1.lib"));
    WriteBytes(Map("new.map"), MakeMap(2));
    WriteList("new.map\nold.map\n");

    // data1.lib turns into a folder while the new pair is being written: the new data1.dat
    // is in place by then, and must go again.
    DatOptions opts;
    opts.Progress = [&](size_t done, size_t total) {
        if (done != total) return;
        fs::rename(Dat("data1.lib"), Root + "old-lib");
        fs::create_directories(Dat("data1.lib/inside"));
    };
    const QuarvelError e = ErrorOf([&] { BuildDat(Root, opts); }, ErrorKind::CannotSave);
    EXPECT_EQ(e.Path, Dat("data1.lib"));
    EXPECT_EQ(ReadBytes(Dat("data1.dat")), oldDat);
    EXPECT_EQ(FilesIn(Root + "dat"),
              (std::vector<std::string>{"data1.dat", "data1.lib", "unpacked"}));
    fs::remove_all(Dat("data1.lib"));
    fs::rename(Root + "old-lib", Dat("data1.lib"));

    // An immutable data1.lib (root only, on a file system that has the flag).
    if (geteuid() == 0 &&
        std::system(("chattr +i '" + Dat("data1.lib") + "' 2>/dev/null").c_str()) == 0) {
        ErrorOf([&] { BuildDat(Root); }, ErrorKind::CannotSave);
        std::system(("chattr -i '" + Dat("data1.lib") + "'").c_str());
        EXPECT_EQ(ReadBytes(Dat("data1.dat")), oldDat);
        EXPECT_EQ(ReadBytes(Dat("data1.lib")), oldLib);
        EXPECT_EQ(FilesIn(Root + "dat"),
                  (std::vector<std::string>{"data1.dat", "data1.lib", "unpacked"}));
    }
    ASSERT_TRUE(BuildDat(Root));
    EXPECT_EQ(ReadBytes(Dat("data1.lib")).size(), 80u);
    EXPECT_EQ(ReadBytes(Dat("data1.dat")).size(), 2u * 49312u);
}

TEST_F(DatTest, PackRefusesNamesUnpackWouldRefuseOrMerge) {
    WriteBytes(Map("dummy.map"), MakeMap(9));
    WriteBytes(Root + "secret.map", MakeMap(5)); // beside map/, not in it
    BuildOne("keep.map", MakeMap(1));
    const Bytes dat = ReadBytes(Dat("data1.dat")), lib = ReadBytes(Dat("data1.lib"));
    const std::string long30 = std::string(26, 'n') + ".map"; // 30 bytes
    struct Case {
        std::string Line;
        ErrorKind Kind;
    };
    const Case cases[] = {
        {"../secret.map", ErrorKind::NameNotPlain},
        {Root + "secret.map", ErrorKind::NameNotPlain},
        {"sub/a.map", ErrorKind::NameNotPlain},
        {"a\\b.map", ErrorKind::NameNotPlain},
        {"..", ErrorKind::NameNotPlain},
        {"bell\a.map", ErrorKind::NameHasControl},
        {"esc\x1b[31m.map", ErrorKind::NameHasControl},
        {"del\x7f.map", ErrorKind::NameHasControl},
        // 29 single bytes, then a double-byte character across the cut.
        {std::string(29, 'a') + "\x83\x7d.map", ErrorKind::NameSplitsChar},
        {long30 + "1", ErrorKind::NameDuplicate}, // equals the line before in 30 bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        WriteList("keep.map\n" + long30 + "\n" + c.Line + "\n");
        const QuarvelError e = ErrorOf([&] { BuildDat(Root); }, c.Kind);
        EXPECT_EQ(e.Line, 3);
        EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
        EXPECT_EQ(std::string(e.what()).find('\x1b'), std::string::npos) << "printed raw";
        if (c.Kind == ErrorKind::NameDuplicate) {
            EXPECT_EQ(e.SameAsLine, 2);
        }
        EXPECT_EQ(ReadBytes(Dat("data1.dat")), dat);
        EXPECT_EQ(ReadBytes(Dat("data1.lib")), lib);
        EXPECT_EQ(FilesIn(Root + "dat"),
                  (std::vector<std::string>{"data1.dat", "data1.lib", "unpacked"}));
    }
    // Allowed: a double-byte character ending at byte 30, the same line twice, a line of 30
    // bytes and a longer one that differ within them.
    WriteList("keep.map\n" + std::string(28, 'a') + "\x83\x7d.map\nkeep.map\n" + long30 + "\nx" +
              long30 + "\n");
    EXPECT_TRUE(BuildDat(Root));
}

TEST_F(DatTest, UnpackRefusesAnIndexLargerThanItsDataOrTheLimit) {
    BuildOne("one.map", MakeMap(1));
    const Bytes entry = ReadBytes(Dat("data1.lib"));
    const Bytes record = ReadBytes(Dat("data1.dat"));
    // Two entries on one record: more maps than the data file has bytes for.
    Bytes lib = entry;
    lib.insert(lib.end(), entry.begin(), entry.end());
    std::memcpy(&lib[40], "two.map", 8);
    WriteBytes(Dat("data1.lib"), lib);
    QuarvelError e = ErrorOf([&] { UnpackDat(Root); }, ErrorKind::MoreThanDataHolds);
    EXPECT_EQ(e.UnpackSize, 2u * 49200u);
    EXPECT_EQ(e.DataSize, 49312u);
    EXPECT_TRUE(FilesIn(Root + "dat/unpacked").empty());

    // An index of more entries than an archive holds is refused before it is read, whatever
    // the data file holds (a sparse data file of 4 GiB here).
    {
        std::FILE* f = std::fopen(Dat("data1.lib").c_str(), "wb");
        ASSERT_EQ(ftruncate(fileno(f), off_t(43550) * 40), 0);
        std::fclose(f);
        f = std::fopen(Dat("data1.dat").c_str(), "wb");
        ASSERT_EQ(ftruncate(fileno(f), off_t(1) << 32), 0);
        std::fclose(f);
    }
    e = ErrorOf([&] { UnpackDat(Root); }, ErrorKind::TooManyEntries);
    EXPECT_EQ(e.EntryCount, 43550u);
    EXPECT_TRUE(FilesIn(Root + "dat/unpacked").empty());
    WriteBytes(Dat("data1.dat"), record);
}

TEST_F(DatTest, UnpackRefusesControlCharactersAndALinkedFolder) {
    BuildOne("good.map", MakeMap(3));
    const Bytes good = ReadBytes(Dat("data1.lib"));
    const Bytes record = ReadBytes(Dat("data1.dat"));
    Bytes dat = record;
    dat.insert(dat.end(), record.begin(), record.end());
    WriteBytes(Dat("data1.dat"), dat);
    for (std::string name : {std::string("a\x1b]0;x\a.map"), std::string("new\nline.map"),
                             std::string("bell\a"), std::string("tab\t.map")}) {
        SCOPED_TRACE(name);
        Bytes lib = good;
        lib.insert(lib.end(), good.begin(), good.end());
        std::fill(lib.begin() + 40, lib.begin() + 72, 0);
        std::copy(name.begin(), name.end(), lib.begin() + 40);
        WriteBytes(Dat("data1.lib"), lib);
        const QuarvelError e = ErrorOf([&] { UnpackDat(Root); }, ErrorKind::NameHasControl);
        EXPECT_EQ(e.Entry, 1);
        const std::string what = e.what();
        EXPECT_TRUE(std::none_of(what.begin(), what.end(), [](char c) {
            return (unsigned char)c < 0x20 || c == 0x7F;
        })) << what;
        EXPECT_NE(what.find("\\x"), std::string::npos) << what;
        EXPECT_EQ(FilesIn(Root + "dat/unpacked"), std::vector<std::string>{"good.map"});
        fs::remove(Unpacked("good.map"));
    }

    // unpacked/ as a symbolic link to another folder: nothing is written through it.
    WriteBytes(Dat("data1.lib"), good);
    fs::create_directory(Root + "elsewhere");
    fs::remove(Root + "dat/unpacked");
    fs::create_directory_symlink(Root + "elsewhere", Root + "dat/unpacked");
    ErrorOf([&] { UnpackDat(Root); }, ErrorKind::FolderIsLink);
    EXPECT_TRUE(FilesIn(Root + "elsewhere").empty());
    EXPECT_TRUE(fs::is_symlink(Root + "dat/unpacked"));
}

} // namespace
} // namespace quarvel
