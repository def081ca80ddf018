// Tests of quarvel-cli's map commands (new, info, shape, shift, swap) and of `edit`, the
// script of map commands, run as a separate program.
#include "map/mapclass.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <sys/stat.h>

using namespace quarvel;
using quarvel::test::ReadBytes;
using quarvel::test::RunCli;
using quarvel::test::TempDir;
using quarvel::test::WriteBytes;

namespace {

using Bytes = std::vector<uint8_t>;

std::string Q(const std::string& s) {
    return "'" + s + "'";
}

const uint8_t NewName[10] = {0x90, 0x56, 0x8B, 0x4B, 0x83, 0x7D, 0x83, 0x62, 0x83, 0x76};

Bytes NewMapBytes() {
    Bytes b(TMap::FileSize, 0);
    std::memcpy(b.data(), "Ver1.6+", 8);
    std::memcpy(b.data() + 16, NewName, 10);
    return b;
}

uint8_t CellOf(const Bytes& file, int x, int y, int z) {
    return file[size_t(TMap::HeaderSize + TMap::Index(x, y, z))];
}

// Writes a new map with the given cells set directly.
void WriteMap(const std::string& path, std::initializer_list<std::array<int, 4>> cells) {
    Bytes b = NewMapBytes();
    for (const auto& c : cells)
        b[size_t(TMap::HeaderSize + TMap::Index(c[0], c[1], c[2]))] = uint8_t(c[3]);
    WriteBytes(path, b);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// ---- new, info ----------------------------------------------------------------------------

TEST(CliNew, WritesANewMap) {
    TempDir dir;
    auto r = RunCli("new " + Q(dir.File("a.map")));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(ReadBytes(dir.File("a.map")), NewMapBytes());
    EXPECT_EQ(RunCli("new").Status, 2);
    EXPECT_EQ(RunCli("new a b").Status, 2);
    auto bad = RunCli("new " + Q(dir.File("missing/a.map")));
    EXPECT_EQ(bad.Status, 1);
    EXPECT_TRUE(Contains(bad.Err, dir.File("missing/a.map"))) << bad.Err;
}

// Only a regular file or a new name is replaced: not a device, not a pipe, not through a link.
TEST(CliNew, RefusesDevicesAndPipes) {
    TempDir dir;
    const std::string device = test::NullDevice(dir);
    ASSERT_EQ(mkfifo(dir.File("fifo.map").c_str(), 0644), 0);
    std::filesystem::create_symlink(dir.File("fifo.map"), dir.File("link.map"));
    for (const std::string& path : {device, dir.File("fifo.map"), dir.File("link.map")}) {
        SCOPED_TRACE(path);
        auto r = RunCli("new " + Q(path));
        EXPECT_EQ(r.Status, 1);
        EXPECT_TRUE(Contains(r.Err, "'" + path + "' is not a regular file")) << r.Err;
    }
    EXPECT_TRUE(std::filesystem::is_character_file(device));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("fifo.map")));
}

TEST(CliInfo, PrintsNameTerrainVersionCells) {
    TempDir dir;
    ASSERT_EQ(RunCli("new " + Q(dir.File("a.map"))).Status, 0);
    auto r = RunCli("info " + Q(dir.File("a.map")));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "name: 新規マップ\nterrain: 0\nversion: Ver1.6+\ncells: 0\n");

    Bytes b = NewMapBytes();
    b[12] = 30;
    std::memcpy(b.data() + 16, "Castle\0", 7);
    b[100] = 9, b[2000] = 200, b[49199] = 1;
    WriteBytes(dir.File("b.map"), b);
    EXPECT_EQ(RunCli("info " + Q(dir.File("b.map"))).Out,
              "name: Castle\nterrain: 3\nversion: Ver1.6+\ncells: 3\n");

    b[16] = 0x81, b[17] = 0x00; // a lead byte without its second byte
    WriteBytes(dir.File("c.map"), b);
    EXPECT_EQ(RunCli("info " + Q(dir.File("c.map"))).Out.substr(0, 11), "name: \\x81\n");
}

TEST(CliInfo, Errors) {
    TempDir dir;
    WriteBytes(dir.File("text.map"), Bytes(100, 'a'));
    auto r = RunCli("info " + Q(dir.File("text.map")));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "マップファイルじゃないよ？")) << r.Err;
    EXPECT_TRUE(Contains(r.Err, dir.File("text.map"))) << r.Err;
    r = RunCli("info " + Q(dir.File("missing.map")));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, dir.File("missing.map"))) << r.Err;
    r = RunCli("info " + Q(dir.Path()));
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(RunCli("info").Status, 2);
}

// ---- shape, shift, swap -------------------------------------------------------------------

TEST(CliShape, InPlaceAndToAnotherFile) {
    TempDir dir;
    WriteMap(dir.File("a.map"), {{{3, 3, 0, 9}}});
    const Bytes original = ReadBytes(dir.File("a.map"));
    auto r = RunCli("shape " + Q(dir.File("a.map")) + " -o " + Q(dir.File("b.map")));
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "changed\n");
    EXPECT_EQ(ReadBytes(dir.File("a.map")), original);
    EXPECT_EQ(CellOf(ReadBytes(dir.File("b.map")), 3, 3, 0), 12);

    r = RunCli("shape " + Q(dir.File("a.map")));
    EXPECT_EQ(r.Out, "changed\n");
    EXPECT_EQ(CellOf(ReadBytes(dir.File("a.map")), 3, 3, 0), 12);
    r = RunCli("shape " + Q(dir.File("a.map")));
    EXPECT_EQ(r.Out, "unchanged\n");

    EXPECT_EQ(RunCli("shape").Status, 2);
    EXPECT_EQ(RunCli("shape " + Q(dir.File("a.map")) + " -o").Status, 2);
    EXPECT_EQ(RunCli("shape " + Q(dir.File("a.map")) + " extra").Status, 2);
    EXPECT_EQ(RunCli("shape " + Q(dir.File("nothing.map"))).Status, 1);
}

TEST(CliShift, MovesAndChecksItsArguments) {
    TempDir dir;
    WriteMap(dir.File("a.map"), {{{0, 0, 5, 50}}, {{31, 0, 5, 51}}});
    auto r = RunCli("shift " + Q(dir.File("a.map")) + " 1 0 -1");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "changed\n");
    Bytes b = ReadBytes(dir.File("a.map"));
    EXPECT_EQ(CellOf(b, 1, 0, 4), 50);
    EXPECT_EQ(CellOf(b, 0, 0, 5), 0);
    EXPECT_EQ(CellOf(b, 31, 0, 5), 0);

    r = RunCli("shift " + Q(dir.File("a.map")) + " 0 0 0 -o " + Q(dir.File("b.map")));
    EXPECT_EQ(r.Out, "unchanged\n");
    EXPECT_EQ(ReadBytes(dir.File("b.map")), b);
    r = RunCli("shift " + Q(dir.File("a.map")) + " -2147483648 0 0");
    EXPECT_EQ(r.Out, "changed\n");
    EXPECT_EQ(ReadBytes(dir.File("a.map")), NewMapBytes());
    r = RunCli("shift -o " + Q(dir.File("c.map")) + " " + Q(dir.File("a.map")) + " 0 5 0");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "unchanged\n"); // an empty map stays empty
    EXPECT_EQ(ReadBytes(dir.File("c.map")), NewMapBytes());

    for (const char* args :
         {" 1 0", " 1 0 0 0", " x 0 0", " 1 - 0", " 1 0 2147483648", " 1.5 0 0"}) {
        r = RunCli("shift " + Q(dir.File("a.map")) + args);
        EXPECT_EQ(r.Status, 2) << args;
        EXPECT_TRUE(Contains(r.Err, "usage")) << r.Err;
    }
}

TEST(CliSwap, SwapsCountries) {
    TempDir dir;
    WriteMap(dir.File("a.map"), {{{1, 1, 1, 25}}, {{2, 2, 1, 28}}, {{3, 3, 1, 26}}});
    auto r = RunCli("swap " + Q(dir.File("a.map")) + " 0 3");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "changed\n");
    Bytes b = ReadBytes(dir.File("a.map"));
    EXPECT_EQ(CellOf(b, 1, 1, 1), 28);
    EXPECT_EQ(CellOf(b, 2, 2, 1), 25);
    EXPECT_EQ(CellOf(b, 3, 3, 1), 26);
    EXPECT_EQ(RunCli("swap " + Q(dir.File("a.map")) + " 2 2").Out, "unchanged\n");
    WriteMap(dir.File("b.map"), {{{3, 3, 1, 26}}});
    EXPECT_EQ(RunCli("swap " + Q(dir.File("b.map")) + " 0 3").Out, "unchanged\n");
    EXPECT_EQ(RunCli("swap " + Q(dir.File("a.map")) + " 0 4").Status, 2);
    EXPECT_EQ(RunCli("swap " + Q(dir.File("a.map")) + " -1 0").Status, 2);
    EXPECT_EQ(RunCli("swap " + Q(dir.File("a.map")) + " 0").Status, 2);
}

// ---- edit ---------------------------------------------------------------------------------

TEST(CliEdit, EveryCommandOnANewMap) {
    TempDir dir;
    const std::string script = "# a comment\n"
                               "\n"
                               "getname\n"
                               "getterrain\n"
                               "modified\n"
                               "terrain 2\n"
                               "getterrain\n"
                               "modified\n"
                               "set 3 4 0 5\n"
                               "records\n"
                               "get 3 4 0\n"
                               "get -1 0 0\n"
                               "get 0 0 48\n"
                               "view 3 4 0\n"
                               "undostate\n"
                               "step\n"
                               "set 3 4 0 7\n"
                               "undostate\n"
                               "records\n"
                               "undo\n"
                               "undostate\n"
                               "records\n"
                               "redo\n"
                               "redo\n"
                               "get 3 4 0\n"
                               "shape\n"
                               "shift 0 0 0\n"
                               "shift 1 0 0\n"
                               "get 4 4 0\n"
                               "swap 1 1\n"
                               "swap 0 1\n"
                               "step\n"
                               "records\n"
                               "save\n"
                               "save " +
                               dir.File("out.map") +
                               "\n"
                               "modified\n"
                               "save\n"
                               "clear\n"
                               "modified\n"
                               "undostate\n"
                               "get 4 4 0\n"
                               "load " +
                               dir.File("out.map") +
                               "\n"
                               "get 4 4 0\n"
                               "getterrain\n";
    auto r = RunCli("edit", script);
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "新規マップ\n"
                     "0\n"
                     "false\n"
                     "2\n"
                     "true\n"
                     "00000403\n"
                     "5\n"
                     "0\n"
                     "0\n"
                     "5\n"
                     "0 0 1\n"
                     "1 0 1\n"
                     "05000403\n"
                     "true\n"
                     "0 1 1\n"
                     "00000403\n"
                     "true\n"
                     "false\n"
                     "7\n"
                     "true\n" // shape: ground chip 7 alone becomes 8
                     "cancel\n"
                     "ok\n"
                     "8\n"
                     "cancel\n"
                     "ok\n"
                     "\n"
                     "false\n"
                     "true\n"
                     "false\n"
                     "true\n"
                     "false\n"
                     "0 0 0\n"
                     "0\n"
                     "true\n"
                     "8\n"
                     "2\n");
}

TEST(CliEdit, NameIsConvertedToCodePage932) {
    TempDir dir;
    auto r = RunCli("edit", "name ab\nname 新規マップ\ngetname\nname  two  blanks \ngetname\n"
                            "name\ngetname\nname 新規マップ\nsave " +
                                dir.File("a.map") + "\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "新規マップ\n two  blanks \n\ntrue\n");
    Bytes b = ReadBytes(dir.File("a.map"));
    EXPECT_EQ(Bytes(b.begin() + 16, b.begin() + 27),
              (Bytes{0x90, 0x56, 0x8B, 0x4B, 0x83, 0x7D, 0x83, 0x62, 0x83, 0x76, 0x00}));

    r = RunCli("edit", "name ゲーム～テスト①\ngetname\n"); // characters special to CP932
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "ゲーム～テスト①\n");
}

// Names made of the characters where code page 932 differs from plain Shift_JIS, the NEC
// row 13 and the IBM extensions, with the bytes Windows writes; the info panel's name box
// writes the same bytes (tests/gui/form_info_test.cpp).
TEST(CliEdit, NameBytesOfCodePage932) {
    TempDir dir;
    const std::pair<const char*, Bytes> names[] = {
        {"～∥－￢￠￡①Ⅰ㈱",
         {0x81, 0x60, 0x81, 0x61, 0x81, 0x7C, 0x81, 0xCA, 0x81, 0x91, 0x81, 0x92, 0x87, 0x40, 0x87,
          0x54, 0x87, 0x8A, 0x00}},
        {"ⅰ纊髙￤＇＂№∵≒",
         {0xFA, 0x40, 0xFA, 0x5C, 0xFB, 0xFC, 0xFA, 0x55, 0xFA, 0x56, 0xFA, 0x57, 0x87, 0x82, 0x81,
          0xE6, 0x81, 0xE0, 0x00}}};
    for (const auto& [text, bytes] : names) {
        const std::string file = dir.File("n.map");
        auto r = RunCli("edit", std::string("name ") + text + "\nsave " + file + "\n");
        ASSERT_EQ(r.Status, 0) << r.Err;
        Bytes b = ReadBytes(file);
        EXPECT_EQ(Bytes(b.begin() + 16, b.begin() + 16 + long(bytes.size())), bytes) << text;
        r = RunCli("edit " + Q(file), "getname\n");
        EXPECT_EQ(r.Out, std::string(text) + "\n");
        EXPECT_TRUE(Contains(RunCli("info " + Q(file)).Out, "name: " + std::string(text) + "\n"));
    }
    // Look-alikes that would read back as other characters are refused.
    EXPECT_EQ(RunCli("edit", "name 〜\n").Status, 2);
}

// The map keeps 20 bytes of a name and never half a double-byte character.
TEST(CliEdit, LongNameIsCutAtACharacterBoundary) {
    auto r = RunCli("edit", "name abcdefghijklmnopqrs漢字\ngetname\nmodified\n"
                            "name abcdefghijklmnopqr漢字\ngetname\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "abcdefghijklmnopqrs\ntrue\nabcdefghijklmnopqr漢\n");
}

TEST(CliEdit, RecordsOfATreeAndItsUndo) {
    auto r = RunCli("edit", "step\nset 5 5 10 33\nrecords\nstep\nset 5 5 9 0\nrecords\nundo\n"
                            "get 5 5 8\nget 5 5 9\nget 5 5 10\nundostate\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "000a0505 00090505 00080505\n"
                     "22090505 23080505 210a0505\n"
                     "true\n35\n34\n33\n1 1 3\n");
}

TEST(CliEdit, LoadsTheMapGivenAndSavesBackToIt) {
    TempDir dir;
    WriteMap(dir.File("a.map"), {{{1, 2, 3, 60}}});
    auto r = RunCli("edit " + Q(dir.File("a.map")), "get 1 2 3\nmodified\nset 1 2 3 61\nsave\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "60\nfalse\ntrue\n");
    EXPECT_EQ(CellOf(ReadBytes(dir.File("a.map")), 1, 2, 3), 61);
}

TEST(CliEdit, NonMapFileAndBadArguments) {
    TempDir dir;
    WriteBytes(dir.File("text.txt"), Bytes(200, 'x'));
    auto r = RunCli("edit " + Q(dir.File("text.txt")), "get 0 0 0\n");
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "マップファイルじゃないよ？")) << r.Err;
    EXPECT_EQ(r.Out, "");
    r = RunCli("edit " + Q(dir.File("missing.map")), "");
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, dir.File("missing.map"))) << r.Err;
    EXPECT_EQ(RunCli("edit a b", "").Status, 2);
    EXPECT_EQ(RunCli("edit", "").Status, 0);
}

TEST(CliEdit, MalformedLines) {
    TempDir dir;
    const std::string after = "get 0 0 0\nsave " + dir.File("never.map") + "\n";
    const char* bad[] = {
        "bogus",        "get 1 2",      "get 1 2 3 4",  "get a 0 0",           "set 0 0 0",
        "set 32 0 0 1", "set 0 -1 0 1", "set 0 0 48 1", "set 0 0 0 256",       "set 0 0 0 -1",
        "set 0 0 0 x",  "undo now",     "step 1",       "shift 1 2",           "shift 1 2 z",
        "swap 0 4",     "swap 0",       "terrain 4",    "terrain -1",          "terrain",
        "load",         "load a b",     "save a b",     "records 1",           "undostate x",
        "getname x",    "name 😀",       "view 0 0",     "get 99999999999 0 0", "modified 1",
        "clear 1",      "redo 1",       "shape 1",      "getterrain 1",
    };
    for (const char* line : bad) {
        auto r = RunCli("edit", "get 0 0 0\n# fine so far\n" + std::string(line) + "\n" + after);
        EXPECT_EQ(r.Status, 2) << line;
        EXPECT_EQ(r.Out, "0\n") << line; // what ran before stays printed, nothing after runs
        EXPECT_TRUE(Contains(r.Err, "line 3: ")) << line << ": " << r.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("never.map")));
}

TEST(CliEdit, FileErrorsInLoadAndSave) {
    TempDir dir;
    WriteBytes(dir.File("text.txt"), Bytes(200, 'x'));
    auto r = RunCli("edit", "load " + dir.File("text.txt") + "\nget 0 0 0\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "false\n0\n"); // not a map: false, nothing changes

    r = RunCli("edit", "get 0 0 0\nload " + dir.File("missing.map") + "\nget 0 0 0\n");
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, "0\n");
    EXPECT_TRUE(Contains(r.Err, "line 2: ")) << r.Err;
    EXPECT_TRUE(Contains(r.Err, dir.File("missing.map"))) << r.Err;

    r = RunCli("edit", "load " + dir.Path() + "\n");
    EXPECT_EQ(r.Status, 1);

    r = RunCli("edit", "set 1 1 1 1\nsave " + dir.File("text.txt/a.map") + "\nmodified\n");
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "line 2: ")) << r.Err;
    EXPECT_TRUE(Contains(r.Err, dir.File("text.txt/a.map"))) << r.Err;
    EXPECT_EQ(ReadBytes(dir.File("text.txt")), Bytes(200, 'x'));
}

TEST(CliEdit, GetNameOfBytesThatAreNotText) {
    TempDir dir;
    Bytes b = NewMapBytes();
    b[16] = 0x81, b[17] = 0;
    WriteBytes(dir.File("a.map"), b);
    auto r = RunCli("edit " + Q(dir.File("a.map")), "getterrain\ngetname\n");
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, "0\n");
    EXPECT_TRUE(Contains(r.Err, "line 2: ")) << r.Err;
}

TEST(CliEdit, WindowsLineEndsAndBlankLines) {
    auto r = RunCli("edit", "set 1 1 1 9\r\n\r\n   \r\n  # indented comment\r\nget 1 1 1\r\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "9\n");
    r = RunCli("edit", "set 1 1 1 9\nget 1 1 1"); // no line end at the end
    EXPECT_EQ(r.Out, "9\n");
}

TEST(CliHelp, ListsTheMapCommands) {
    auto r = RunCli("help");
    EXPECT_EQ(r.Status, 0);
    for (const char* usage : {"new OUT", "info MAP", "shape MAP [-o OUT]",
                              "shift MAP DX DY DZ [-o OUT]", "swap MAP A B", "edit [MAP]"})
        EXPECT_TRUE(Contains(r.Out, usage)) << usage;
}

} // namespace

// Saving into files and folders of other owners, as an ordinary user (root runs the commands
// as "nobody" through setpriv, since permissions do not bind root).
class CliSaveAsUser : public ::testing::Test {
protected:
    static constexpr uid_t Nobody = 65534;
    TempDir Dir;
    std::string Closed = Dir.File("closed"), State = Dir.File("state");
    void SetUp() override {
        std::filesystem::create_directories(Closed);
        std::filesystem::create_directories(State);
        ::chmod(Dir.Path().c_str(), 0755);
        WriteBytes(Closed + "/a.map", NewMapBytes());
        if (Root()) {
            ASSERT_EQ(::chown((Closed + "/a.map").c_str(), Nobody, Nobody), 0);
            ASSERT_EQ(::chown(State.c_str(), Nobody, Nobody), 0);
        }
        ::chmod(Closed.c_str(), 0555); // nobody may make a file in it
    }
    void TearDown() override { ::chmod(Closed.c_str(), 0755); }
    static bool Root() { return ::geteuid() == 0; }
    test::RunResult Run(const std::string& args) {
        const std::string env = "XDG_STATE_HOME=" + Q(State);
        if (!Root()) return test::RunProgram(env, test::CliPath(), args);
        return test::RunProgram(env, "setpriv",
                                "--reuid=65534 --regid=65534 --clear-groups " + Q(test::CliPath()) +
                                    " " + args);
    }
};

TEST_F(CliSaveAsUser, AWritableMapInAClosedFolderIsRewrittenInPlace) {
    struct stat before {};
    ::stat((Closed + "/a.map").c_str(), &before);
    const auto r = Run("shift " + Q(Closed + "/a.map") + " 0 0 1");
    ASSERT_EQ(r.Status, 0) << r.Err;
    struct stat after {};
    ::stat((Closed + "/a.map").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino); // the same file, rewritten
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(ReadBytes(Closed + "/a.map").size(), size_t(TMap::FileSize));
    // The old bytes kept meanwhile are gone again, and nothing was left in the closed folder.
    EXPECT_TRUE(std::filesystem::is_empty(State + "/quarvel")) << State;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Closed), {}), 1);
}

TEST_F(CliSaveAsUser, ANewFileInAClosedFolderNamesThePermissionAsTheReason) {
    const auto r = Run("new " + Q(Closed + "/b.map"));
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, std::strerror(EACCES))) << r.Err;
    EXPECT_FALSE(Contains(r.Err, std::strerror(ENOENT))) << r.Err;
}

TEST_F(CliSaveAsUser, AWriteProtectedMapIsNotReplaced) {
    ::chmod(Closed.c_str(), 0755);
    ::chmod((Closed + "/a.map").c_str(), 0444);
    const auto r = test::RunCli("shift " + Q(Closed + "/a.map") + " 1 0 0");
    EXPECT_EQ(r.Status, 1);
    EXPECT_TRUE(Contains(r.Err, "write-protected")) << r.Err;
    EXPECT_EQ(ReadBytes(Closed + "/a.map"), NewMapBytes());
    struct stat st {};
    ::stat((Closed + "/a.map").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    // Saved under another name it is written.
    const auto other =
        test::RunCli("shift " + Q(Closed + "/a.map") + " 1 0 0 -o " + Q(Closed + "/b.map"));
    EXPECT_EQ(other.Status, 0) << other.Err;
}
