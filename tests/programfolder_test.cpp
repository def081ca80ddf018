// Tests of the program folder rule: a folder with chip/ beside the program, otherwise the
// user's folder seeded from the installed data, never overwriting; quarvel-cli installed.
#include "editor/programfolder.h"
#include "map/fileio.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace quarvel;
using quarvel::test::ReadBytes;
using quarvel::test::ScopedEnv;
using quarvel::test::TempDir;
using quarvel::test::WriteBytes;

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Text(const std::string& path) {
    const auto b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

// An installed tree: ROOT/usr/bin (the program's folder, no chip/) and the data in
// ROOT/usr/share/quarvel; the user's data home is ROOT/data.
class ProgramFolderInstalled : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Bin);
        fs::create_directories(Data + "/chip");
        fs::create_directories(Data + "/map");
        WriteBytes(Data + "/chip/B_000.2c", Bytes("chip pixels"));
        WriteBytes(Data + "/chip/B_000.pal", Bytes("chip palette"));
        WriteBytes(Data + "/map/demo.map", Bytes("demo"));
        WriteBytes(Data + "/map/dummy.map", Bytes("dummy"));
        WriteBytes(Data + "/map/map.ini", Bytes("demo.map\r\n"));
    }
    TempDir Root;
    const std::string Bin = Root.Path() + "/usr/bin";
    const std::string Data = Root.Path() + "/usr/share/quarvel";
    const std::string User = Root.Path() + "/data/quarvel";
    ScopedEnv DataHome{"XDG_DATA_HOME", (Root.Path() + "/data").c_str()};
};

} // namespace

TEST(ProgramFolder, FolderWithItsOwnChipsIsTheProgramFolder) {
    TempDir dir, data;
    ScopedEnv dataHome("XDG_DATA_HOME", data.Path().c_str());
    fs::create_directory(dir.File("chip"));
    EXPECT_EQ(FindProgramFolder(dir.Path()), dir.Path() + "/");
    EXPECT_EQ(FindProgramFolder(dir.Path() + "/"), dir.Path() + "/");
    EXPECT_TRUE(fs::is_empty(data.Path())); // the user's folder is not touched

    // A file named chip is not a chip folder.
    fs::remove(dir.File("chip"));
    WriteBytes(dir.File("chip"), {});
    EXPECT_EQ(FindProgramFolder(dir.Path()), data.Path() + "/quarvel/");
}

TEST(ProgramFolder, ProgramFileFolderHoldsThisTest) {
    const std::string folder = ProgramFileFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::exists(folder + "programfolder_test"));
}

TEST_F(ProgramFolderInstalled, FirstStartSeedsTheUsersFolder) {
    EXPECT_EQ(FindProgramFolder(Bin), User + "/");
    for (const char* f :
         {"chip/B_000.2c", "chip/B_000.pal", "map/demo.map", "map/dummy.map", "map/map.ini"})
        EXPECT_EQ(ReadBytes(User + "/" + f), ReadBytes(Data + "/" + f)) << f;
    EXPECT_TRUE(fs::is_directory(User + "/dat/unpacked"));
    // Nothing else: no temporary files are left.
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(User)) files += e.is_regular_file();
    EXPECT_EQ(files, 5);
}

TEST_F(ProgramFolderInstalled, FilesAlreadyThereAreNeverOverwritten) {
    fs::create_directories(User + "/map");
    WriteBytes(User + "/map/demo.map", Bytes("my own demo"));
    WriteBytes(User + "/map/map.ini", {});
    fs::create_directories(User + "/chip/B_000.pal"); // even a folder in a file's place
    EXPECT_EQ(FindProgramFolder(Bin), User + "/");
    EXPECT_EQ(Text(User + "/map/demo.map"), "my own demo");
    EXPECT_EQ(Text(User + "/map/map.ini"), "");
    EXPECT_TRUE(fs::is_directory(User + "/chip/B_000.pal"));
    // What was missing is copied, and is copied again on a later start once removed.
    EXPECT_EQ(Text(User + "/map/dummy.map"), "dummy");
    fs::remove(User + "/chip/B_000.2c");
    FindProgramFolder(Bin);
    EXPECT_EQ(Text(User + "/chip/B_000.2c"), "chip pixels");
    EXPECT_EQ(Text(User + "/map/demo.map"), "my own demo");
}

TEST_F(ProgramFolderInstalled, WithoutInstalledDataTheFoldersAreStillMade) {
    fs::remove_all(Data);
    EXPECT_EQ(FindProgramFolder(Bin), User + "/");
    for (const char* f : {"chip", "map", "dat", "dat/unpacked"})
        EXPECT_TRUE(fs::is_directory(User + "/" + f)) << f;
}

TEST_F(ProgramFolderInstalled, ALinkPlantedAtATemporaryNameIsNotFollowed) {
    // Another user's file, and links to it wherever a copy might be written first.
    WriteBytes(Root.File("victim"), Bytes("keep"));
    fs::create_directories(User + "/map");
    for (const std::string& temp : {SaveTempPath(User + "/map/demo.map"),
                                    User + "/map/demo.map.part-" + std::to_string(::getpid())})
        fs::create_symlink(Root.File("victim"), temp);
    try {
        FindProgramFolder(Bin);
    } catch (const ProgramFolderError& e) {
        // Refused is fine; the error is the core's, for each front end to word.
        EXPECT_NE(e.Kind, ErrorKind::Message) << e.what();
    }
    EXPECT_EQ(Text(Root.File("victim")), "keep");
}

TEST_F(ProgramFolderInstalled, FailureNamesTheFolder) {
    // The data home is a file: the folder cannot be made.
    WriteBytes(Root.File("file"), {});
    {
        ScopedEnv dataHome("XDG_DATA_HOME", Root.File("file").c_str());
        try {
            FindProgramFolder(Bin);
            FAIL() << "no error";
        } catch (const ProgramFolderError& e) {
            EXPECT_EQ(e.Path, Root.File("file/quarvel"));
            EXPECT_NE(e.Errno, 0);
            EXPECT_NE(std::string(e.what()).find(e.Path), std::string::npos);
        }
    }
    // A file where map/ belongs.
    fs::create_directories(User);
    WriteBytes(User + "/map", Bytes("x"));
    try {
        FindProgramFolder(Bin);
        FAIL() << "no error";
    } catch (const ProgramFolderError& e) {
        EXPECT_EQ(e.Path, User + "/map");
    }
    EXPECT_EQ(Text(User + "/map"), "x");
    // No home at all.
    ScopedEnv home("HOME", nullptr), dataHome("XDG_DATA_HOME", nullptr);
    EXPECT_THROW(FindProgramFolder(Bin), ProgramFolderError);
}

// quarvel-cli installed beside share/quarvel: pack and render without options work on the
// user's folder, and a folder that cannot be made is an error that names it.
TEST(ProgramFolderCli, InstalledCliUsesTheUsersFolder) {
    TempDir root;
    const std::string bin = root.File("usr/bin"), data = root.File("usr/share/quarvel");
    fs::create_directories(bin);
    fs::create_directories(data + "/map");
    fs::copy(fs::path(test::CliPath()).parent_path() / "chip", data + "/chip");
    const std::string cli = bin + "/quarvel-cli";
    fs::copy_file(test::CliPath(), cli);
    ASSERT_EQ(test::RunCli("demo '" + data + "/map/demo.map'").Status, 0);
    ASSERT_EQ(test::RunCli("new '" + data + "/map/dummy.map'").Status, 0);
    WriteBytes(data + "/map/map.ini", Bytes("demo.map\r\n"));
    const std::string home = root.File("home");
    fs::create_directory(home);
    const std::string env = "HOME='" + home + "' XDG_DATA_HOME=";
    const std::string user = home + "/.local/share/quarvel";

    auto r = test::RunProgram(env, cli, "pack");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(fs::file_size(user + "/dat/data1.dat"), 49312u);
    EXPECT_EQ(ReadBytes(user + "/map/demo.map"), ReadBytes(data + "/map/demo.map"));
    r = test::RunProgram(env, cli, "unpack");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(ReadBytes(user + "/dat/unpacked/demo.map"), ReadBytes(data + "/map/demo.map"));
    r = test::RunProgram(env, cli,
                         "render '" + user + "/map/demo.map' '" + root.File("p.png") + "'");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(fs::exists(root.File("p.png")));

    WriteBytes(root.File("file"), {});
    r = test::RunProgram("XDG_DATA_HOME='" + root.File("file") + "'", cli, "pack");
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find(root.File("file/quarvel")), std::string::npos) << r.Err;
}
