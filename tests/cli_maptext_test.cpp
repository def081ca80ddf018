// Tests of quarvel-cli's review commands dump, diff and check, run as a separate program:
// golden texts, exit statuses, list files and bad input.
#include "map/mapclass.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>

using namespace quarvel;
using quarvel::test::ReadBytes;
using quarvel::test::RunCli;
using quarvel::test::TempDir;
using quarvel::test::WriteBytes;

namespace {

using Bytes = std::vector<uint8_t>;
using Cells = std::initializer_list<std::array<int, 4>>;

std::string Q(const std::string& s) {
    return "'" + s + "'";
}

// A map file with the given name bytes, terrain code and cells.
void WriteMap(const std::string& path, const std::string& name, uint32_t terrainCode, Cells cells) {
    Bytes b(TMap::FileSize, 0);
    std::memcpy(b.data(), "Ver1.6+", 8);
    for (int i = 0; i < 4; ++i) b[size_t(12 + i)] = uint8_t(terrainCode >> (8 * i));
    std::memcpy(b.data() + 16, name.data(), std::min<size_t>(name.size(), 32));
    for (const auto& c : cells)
        b[size_t(TMap::HeaderSize + TMap::Index(c[0], c[1], c[2]))] = uint8_t(c[3]);
    WriteBytes(path, b);
}

const std::string NewName = "\x90\x56\x8B\x4B\x83\x7D\x83\x62\x83\x76"; // 新規マップ, cp932

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CliDump, GoldenText) {
    TempDir dir;
    WriteMap(dir.File("a.map"), NewName, 20, {{{2, 1, 0, 35}}, {{2, 1, 1, 34}}, {{0, 0, 3, 210}}});
    auto r = RunCli("dump " + Q(dir.File("a.map")));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "新規マップ\n2\nVer1.6+\n2 1 0 35 木-下\n2 1 1 34 木-中\n0 0 3 210 ?\n");
    EXPECT_EQ(r.Err, "");

    // A lead byte without its second byte, and a line break, in the name.
    WriteMap(dir.File("b.map"), "A\x81\nB", 30, {});
    r = RunCli("dump " + Q(dir.File("b.map")));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "A\\x81\\x0AB\n3\nVer1.6+\n");
}

TEST(CliDump, BadInput) {
    TempDir dir;
    WriteBytes(dir.File("text.map"), Bytes(100, 'a'));
    auto r = RunCli("dump " + Q(dir.File("text.map")));
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_TRUE(Contains(r.Err, "マップファイルじゃないよ？")) << r.Err;
    r = RunCli("dump " + Q(dir.File("none.map")));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, dir.File("none.map"))) << r.Err;
    EXPECT_EQ(RunCli("dump").Status, 2);
    EXPECT_EQ(RunCli("dump a b").Status, 2);
    EXPECT_EQ(RunCli("dump --raw a").Status, 2);
}

TEST(CliDiff, GoldenTextAndExitStatus) {
    TempDir dir;
    const std::string a = dir.File("a.map"), b = dir.File("b.map");
    WriteMap(a, NewName, 0, {{{5, 5, 5, 9}}, {{1, 0, 0, 1}}});
    WriteMap(b, "Castle", 10, {{{5, 5, 5, 12}}, {{0, 0, 1, 200}}});
    const std::string golden = "name: 新規マップ -> Castle\n"
                               "terrain: 0 -> 1\n"
                               "1 0 0 1 0\n"
                               "0 0 1 0 200\n"
                               "5 5 5 9 12\n";
    auto r = RunCli("diff " + Q(a) + " " + Q(b));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, golden);
    r = RunCli("diff --exit-code " + Q(a) + " " + Q(b));
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_EQ(r.Out, golden);
    r = RunCli("diff " + Q(a) + " " + Q(a) + " --exit-code");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "");

    // Only the cells differ.
    WriteMap(b, NewName, 0, {{{5, 5, 5, 9}}});
    r = RunCli("diff --exit-code " + Q(a) + " " + Q(b));
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, "1 0 0 1 0\n");
}

TEST(CliDiff, BadInput) {
    TempDir dir;
    WriteMap(dir.File("a.map"), "A", 0, {});
    auto r = RunCli("diff --exit-code " + Q(dir.File("a.map")) + " " + Q(dir.File("none.map")));
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_TRUE(Contains(r.Err, dir.File("none.map"))) << r.Err;
    EXPECT_EQ(RunCli("diff " + Q(dir.File("a.map"))).Status, 2);
    EXPECT_EQ(RunCli("diff a b c").Status, 2);
    EXPECT_EQ(RunCli("diff a b --exit-code --exit-code").Status, 2);
    EXPECT_EQ(RunCli("diff a b --stat").Status, 2);
}

TEST(CliCheck, DemoMapIsClean) {
    TempDir dir;
    ASSERT_EQ(RunCli("demo " + Q(dir.File("demo.map"))).Status, 0);
    auto r = RunCli("check " + Q(dir.File("demo.map")));
    EXPECT_EQ(r.Status, 0) << r.Out << r.Err;
    EXPECT_EQ(r.Out, "");
}

TEST(CliCheck, EachKindOfFaultWithItsFile) {
    TempDir dir;
    const std::string bad = dir.File("bad.map"), good = dir.File("good.map");
    WriteMap(bad, "Bad", 0, {{{1, 1, 1, 200}}, {{2, 2, 3, 41}}, {{3, 3, 0, 9}}});
    WriteMap(good, "Good", 0, {{{3, 3, 0, 12}}, {{2, 2, 3, 41}}, {{2, 2, 4, 40}}});
    auto r = RunCli("check " + Q(good) + " " + Q(bad) + " " + Q(good));
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_EQ(r.Out,
              bad + ": 3 3 0: map shaping would change 9 さら地9 to 12 さら地12\n" + bad +
                  ": 1 1 1: chip 200 does not exist (chips are 0..167)\n" + bad +
                  ": 2 2 3: 41 柵-下 is not whole: level 4 holds 0 空白 instead of 40 柵-上\n");
    r = RunCli("check " + Q(good));
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out, "");
}

TEST(CliCheck, UnreadableMapsAreReportedAndTheOthersChecked) {
    TempDir dir;
    WriteMap(dir.File("bad.map"), "Bad", 0, {{{0, 0, 0, 250}}});
    WriteBytes(dir.File("text.map"), Bytes(10, 'x'));
    auto r = RunCli("check " + Q(dir.File("none.map")) + " " + Q(dir.File("text.map")) + " " +
                    Q(dir.File("bad.map")));
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, dir.File("bad.map") + ": 0 0 0: chip 250 does not exist (chips are 0..167)\n");
    EXPECT_TRUE(Contains(r.Err, dir.File("none.map"))) << r.Err;
    EXPECT_TRUE(Contains(r.Err, "マップファイルじゃないよ？")) << r.Err;
    EXPECT_EQ(RunCli("check").Status, 2);
    EXPECT_EQ(RunCli("check --list").Status, 2);
    EXPECT_EQ(RunCli("check --list a.ini b.map").Status, 2);
}

TEST(CliCheck, ListFileAsTheArchiveReadsIt) {
    TempDir dir;
    const std::string mapDir = dir.File("map");
    std::filesystem::create_directory(mapDir);
    const std::string castle = "\x8F\xE9.map"; // 城.map in code page 932
    WriteMap(mapDir + "/城.map", "Castle", 0, {{{0, 0, 0, 200}}});
    WriteMap(mapDir + "/ok.map", "Ok", 0, {});
    // A listed map that is missing stands for dummy.map; each file is checked once.
    const std::string list = castle + "\r\nok.map\r\nmissing.map\r\n" + castle + "\r\n\r\n";
    WriteBytes(mapDir + "/map.ini", Bytes(list.begin(), list.end()));
    WriteMap(mapDir + "/dummy.map", "Dummy", 0, {{{1, 0, 0, 33}}, {{1, 0, 2, 35}}});
    auto r = RunCli("check --list " + Q(mapDir + "/map.ini"));
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_EQ(r.Out, mapDir + "/城.map: 0 0 0: chip 200 does not exist (chips are 0..167)\n" +
                         mapDir +
                         "/dummy.map: 1 0 0: 33 木-上 is not whole: level -1 for 34 木-中 lies "
                         "outside the map; level -2 for 35 木-下 lies outside the map\n" +
                         mapDir +
                         "/dummy.map: 1 0 2: 35 木-下 is not whole: level 3 holds 0 空白 "
                         "instead of 34 木-中; level 4 holds 0 空白 instead of 33 木-上\n");
    EXPECT_EQ(r.Err, "");

    // A clean list.
    WriteBytes(mapDir + "/map.ini", Bytes{'o', 'k', '.', 'm', 'a', 'p', '\r', '\n'});
    r = RunCli("check --list " + Q(mapDir + "/map.ini"));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "");

    // A missing map without dummy.map is an error; the other maps are still checked.
    std::filesystem::remove(mapDir + "/dummy.map");
    const std::string list2 = "missing.map\n" + castle + "\n";
    WriteBytes(mapDir + "/map.ini", Bytes(list2.begin(), list2.end()));
    r = RunCli("check --list " + Q(mapDir + "/map.ini"));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "map \"missing.map\" (line 1 of map.ini) not found, and no " +
                                    mapDir + "/dummy.map"))
        << r.Err;
    EXPECT_EQ(r.Out, mapDir + "/城.map: 0 0 0: chip 200 does not exist (chips are 0..167)\n");

    r = RunCli("check --list " + Q(dir.File("none.ini")));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, dir.File("none.ini"))) << r.Err;
}

} // namespace

// check --list reads the list as pack does: the same limits, the same name rules and
// messages, and names that reach the terminal only escaped.
TEST(CliCheck, ListIsReadWithPacksRulesAndLimits) {
    TempDir dir;
    const std::string mapDir = dir.File("map"), ini = dir.File("map/map.ini");
    std::filesystem::create_directories(dir.File("outside"));
    std::filesystem::create_directory(mapDir);
    WriteMap(dir.File("outside/clean.map"), "Clean", 0, {});
    WriteMap(mapDir + "/dummy.map", "Dummy", 0, {});
    auto writeList = [&](const std::string& text) {
        WriteBytes(ini, Bytes(text.begin(), text.end()));
    };
    auto pack = [&] { return RunCli("pack --root " + Q(dir.Path())); };
    std::filesystem::create_directory(dir.File("dat"));

    writeList("../outside/clean.map\r\n");
    auto r = RunCli("check --list " + Q(ini));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "line 1: \"../outside/clean.map\" is not a plain file name"))
        << r.Err;
    const std::string packErr = pack().Err;
    EXPECT_EQ(r.Err.substr(r.Err.find(ini)), packErr.substr(packErr.find(ini)));

    // Control characters in a name are refused, and the name is shown escaped.
    writeList("a\x1b]0;x\x07.map\n");
    r = RunCli("check --list " + Q(ini));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "a\\x1B]0;x\\x07.map")) << r.Err;
    EXPECT_EQ(r.Err.find('\x1b'), std::string::npos);

    // The most lines an archive holds pass; one more is refused, by check as by pack.
    writeList(std::string(43549, '\n'));
    r = RunCli("check --list " + Q(ini));
    EXPECT_EQ(r.Status, 0) << r.Err;
    writeList(std::string(43550, '\n'));
    r = RunCli("check --list " + Q(ini));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "lists 43550 maps; an archive holds at most 43549")) << r.Err;
    EXPECT_TRUE(Contains(pack().Err, "lists 43550 maps; an archive holds at most 43549"));
    // A list larger than 43,549 names can be is refused before it is read.
    writeList(std::string(size_t(43549) * 257 + 1, 'a'));
    r = RunCli("check --list " + Q(ini));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "bytes, more than an archive's list can be")) << r.Err;
}

TEST(CliInfo, NamesWithControlCharactersAreEscaped) {
    TempDir dir;
    WriteMap(dir.File("a.map"), "\x1b[2J\x07\r\x81", 0, {});
    auto r = RunCli("info " + Q(dir.File("a.map")));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(Contains(r.Out, "name: \\x1B[2J\\x07\\x0D\\x81\n")) << r.Out;
    WriteMap(dir.File("b.map"), "\x1b[2J\x07\r", 0, {});
    r = RunCli("edit " + Q(dir.File("b.map")), "getname\n");
    EXPECT_EQ(r.Out, "\\x1B[2J\\x07\\x0D\n");
}
