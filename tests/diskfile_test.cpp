// The open map's file changed by another program: the question or message once per change,
// the reload, the overwrite question of 上書き保存, a removed file, the editor's own saves, and
// files replaced by things that are no map. The other program is a real one: quarvel-cli or
// the shell.
#include "editor/commands.h"
#include "editor/diskfile.h"
#include "editor/recovery.h"
#include "map/maperror.h"
#include "tests/fakewindows.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace quarvel::test {
namespace {

std::string Q(const std::string& s) {
    return "'" + s + "'";
}

void Shell(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

class DiskFileTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        Path = Dir.File("a.map");
        TMap map;
        map.Clear();
        map.SetChip(1, 1, 0, 5);
        map.SetChip(31, 31, 47, 7); // the last cell: a file cut short loses it
        map.SaveToFile(Path);
        ASSERT_TRUE(OpenMapFile(State, Path));
        Log.clear();
    }
    // Another program sets cell (2, 2, 0) of the file to `chip`.
    void OtherProgramSets(int chip, const std::string& path = "") {
        const auto r = RunCli("edit " + Q(path.empty() ? Path : path),
                              "set 2 2 0 " + std::to_string(chip) + "\nsave\n");
        ASSERT_EQ(r.Status, 0) << r.Err;
    }
    int FileChip(int x, int y, int z) const {
        return ReadBytes(Path).at(size_t(TMap::HeaderSize + TMap::Index(x, y, z)));
    }
    void Edit(int x, int y, int z, uint8_t chip) {
        State.TheMap->UndoBuf.BeginStep();
        State.TheMap->SetChip(x, y, z, chip);
    }
    // Checks twice: the second check must neither ask nor tell again.
    void CheckTwice() {
        CheckDiskFile(State);
        const size_t shown = Log.size();
        CheckDiskFile(State);
        EXPECT_EQ(Log.size(), shown) << "reported twice: " << Log.back();
    }

    std::string Path;
    const std::string Reload =
        "msg ファイルが他のプログラムで変更されました。読み込み直しますか？|確認";
    const std::string Overwrite =
        "msg ファイルは他のプログラムで変更されています。上書きしますか？|確認";
};

TEST_F(DiskFileTest, UnmodifiedMapAsksOnceThenReloadsOrKeepsItsCopy) {
    OtherProgramSets(9);
    Messages.Answers = {mrNo};
    CheckTwice();
    EXPECT_EQ(Count("msg"), 1);
    EXPECT_EQ(Log.front(), Reload);
    // いいえ: the editor's copy stays, and is on disk nowhere now: leaving must ask.
    EXPECT_EQ(State.TheMap->GetChip(2, 2, 0), 0);
    EXPECT_TRUE(State.TheMap->Modified);

    // A touch without new content is no change.
    Shell("touch -d '+3 seconds' " + Q(Path));
    CheckTwice();
    EXPECT_EQ(Count("msg"), 1);

    // 上書き保存 asks first: いいえ writes nothing, はい replaces the other program's file.
    Log.clear();
    Messages.Answers = {mrNo};
    EXPECT_FALSE(Save(State));
    EXPECT_EQ(Log, CallLog{Overwrite});
    EXPECT_EQ(FileChip(2, 2, 0), 9);
    EXPECT_TRUE(State.TheMap->Modified);
    Messages.Answers = {mrYes};
    EXPECT_TRUE(Save(State));
    EXPECT_EQ(FileChip(2, 2, 0), 0);
    Log.clear();
    CheckTwice(); // our own save: nothing to tell
    EXPECT_TRUE(Log.empty());

    // The next change, はい: the map is loaded again as 開く loads it.
    State.CursorX = 4;
    OtherProgramSets(11);
    Messages.Answers = {mrYes};
    CheckTwice();
    EXPECT_EQ(Count("msg"), 1);
    EXPECT_EQ(State.TheMap->GetChip(2, 2, 0), 11);
    EXPECT_EQ(State.TheMap->GetChip(1, 1, 0), 5);
    EXPECT_FALSE(State.TheMap->Modified);
    EXPECT_EQ(State.CursorX, 0);
}

TEST_F(DiskFileTest, ModifiedMapIsToldOnceAndKeptAndItsSaveAsks) {
    Edit(3, 3, 0, 20);
    OtherProgramSets(9);
    CheckTwice();
    EXPECT_EQ(Count("msg"), 1);
    EXPECT_EQ(Count("msg ファイルが他のプログラムで変更されました。編集中"), 1);
    EXPECT_EQ(State.TheMap->GetChip(3, 3, 0), 20);
    EXPECT_EQ(State.TheMap->GetChip(2, 2, 0), 0);

    // Leaving: the save question, then the overwrite question; いいえ to it stays.
    Log.clear();
    Messages.Answers = {mrYes, mrNo};
    EXPECT_FALSE(FormClose(State));
    EXPECT_EQ(Log, (CallLog{"msg 編集中のマップを保存しますか？|確認", Overwrite}));
    EXPECT_EQ(FileChip(2, 2, 0), 9);
    EXPECT_EQ(FileChip(3, 3, 0), 0);
    EXPECT_TRUE(State.TheMap->Modified);
}

TEST_F(DiskFileTest, RemovedFileMakesTheMapModifiedAndItsSaveAsksForAName) {
    TRecoveryFolder store(Dir.File("state"));
    TRecovery recovery(State, store);
    State.Session.Recovery = &recovery;
    recovery.Tick(0);
    Shell("mv " + Q(Path) + " " + Q(Dir.File("moved.map")));
    CheckTwice();
    EXPECT_EQ(Count("msg ファイルが他のプログラムで削除されたか"), 1);
    EXPECT_TRUE(State.TheMap->Modified);
    // The map is on disk nowhere now: the recovery copy holds it, as it holds changes.
    recovery.Tick(TRecovery::QuietMs);
    recovery.Tick(2 * TRecovery::QuietMs);
    ASSERT_TRUE(store.Find());
    EXPECT_EQ(ReadBytes(store.MapPath()).at(TMap::HeaderSize + TMap::Index(1, 1, 0)), 5);

    // The save dialog opens on the old name; cancelled, nothing is written.
    Log.clear();
    EXPECT_FALSE(Save(State));
    EXPECT_EQ(Log, CallLog{"main.RunSaveDialog " + Path});
    EXPECT_FALSE(std::filesystem::exists(Path));
    EXPECT_TRUE(State.TheMap->Modified);
    // Confirmed, the map is written where it was, and that file is the one watched.
    Main.SaveAnswer = Path;
    EXPECT_TRUE(Save(State));
    EXPECT_EQ(FileChip(1, 1, 0), 5);
    EXPECT_FALSE(State.TheMap->Modified);
    Log.clear();
    CheckTwice();
    EXPECT_TRUE(Log.empty());
    OtherProgramSets(9);
    Messages.Answers = {mrNo};
    CheckTwice();
    EXPECT_EQ(Log, (CallLog{Reload, "info.UpdateInfo"}));
}

TEST_F(DiskFileTest, TheEditorsOwnWritesNeverAsk) {
    // 上書き保存, twice in a row (a stamp taken in the same clock tick as the write).
    Edit(3, 3, 0, 20);
    EXPECT_TRUE(Save(State));
    Edit(3, 3, 0, 21);
    EXPECT_TRUE(Save(State));
    CheckTwice();
    // The recovery copy.
    Edit(3, 3, 0, 22);
    TRecoveryFolder store(Dir.File("state"));
    TRecovery recovery(State, store);
    recovery.KeepNow();
    CheckTwice();
    // 名前を付けて保存: the new file is the map's; the old one is none of its business now.
    Main.SaveAnswer = Dir.File("b.map");
    EXPECT_TRUE(SaveAs(State));
    OtherProgramSets(9);
    CheckTwice();
    EXPECT_EQ(Count("msg"), 0);
    OtherProgramSets(9, Main.SaveAnswer);
    Messages.Answers = {mrNo};
    CheckTwice();
    EXPECT_EQ(Log, (CallLog{"main.RunSaveDialog", Reload, "info.UpdateInfo"}));
}

// A file replaced by something that cannot be loaded: はい reports it, the editor's copy
// stays whole and counts as unsaved, and the same replacement is not asked about again.
TEST_F(DiskFileTest, ReloadOfWhatIsNoMapLosesNothing) {
    const std::vector<uint8_t> mine(State.TheMap->Cells, State.TheMap->Cells + TMap::CellCount);
    const auto replaceAndReload = [&](const std::string& how, const std::string& said,
                                      ErrorKind error = ErrorKind::NotRegularFile) {
        SCOPED_TRACE(how);
        State.TheMap->Modified = false;
        Log.clear();
        Messages.Answers = {mrYes};
        try {
            CheckTwice();
        } catch (const QuarvelError& e) {
            EXPECT_EQ(e.Kind, error) << e.what();
            CheckTwice(); // asked once only
        }
        CallLog shown;
        for (const auto& call : Log)
            if (call.compare(0, 4, "msg ") == 0) shown.push_back(call);
        EXPECT_EQ(shown, said.empty() ? CallLog{Reload} : (CallLog{Reload, said}));
        EXPECT_TRUE(State.TheMap->Modified);
        EXPECT_EQ(std::vector<uint8_t>(State.TheMap->Cells, State.TheMap->Cells + TMap::CellCount),
                  mine);
    };
    Shell("head -c 1000 " + Q(Path) + " > " + Q(Dir.File("cut")) + " && mv " + Q(Dir.File("cut")) +
          " " + Q(Path));
    replaceAndReload("cut short", "msg ファイルが途中までしかないため（1000 バイト）、読み込み直し"
                                  "ませんでした。編集中のマップはそのまま残します。|エラー");
    Shell("head -c 49200 /dev/zero > " + Q(Path));
    replaceAndReload("not a map", "msg マップファイルじゃないよ？|エラー");
    if (geteuid() != 0) { // root reads it all the same
        TMap other;
        other.Clear();
        other.SaveToFile(Dir.File("other.map"));
        Shell("cp " + Q(Dir.File("other.map")) + " " + Q(Path) + " && chmod 0 " + Q(Path));
        replaceAndReload("unreadable", "", ErrorKind::CannotOpen);
    }
    Shell("rm " + Q(Path) + " && mkdir " + Q(Path));
    replaceAndReload("a folder", "");
    // 上書き保存 over the folder: asked, then refused by the safe save.
    Messages.Answers = {mrYes};
    EXPECT_THROW(Save(State), QuarvelError);
    EXPECT_TRUE(std::filesystem::is_directory(Path));
}

TEST_F(DiskFileTest, ALinkPointedAtAnotherFileIsAChange) {
    const std::string link = Dir.File("link.map");
    Shell("cp " + Q(Path) + " " + Q(Dir.File("b.map")) + " && ln -s a.map " + Q(link));
    ASSERT_TRUE(OpenMapFile(State, link));
    OtherProgramSets(9, Dir.File("b.map"));
    CheckTwice();
    EXPECT_EQ(Count("msg"), 0);
    Shell("ln -sfn b.map " + Q(link));
    Messages.Answers = {mrYes};
    CheckTwice();
    EXPECT_EQ(Count("msg"), 1);
    EXPECT_EQ(State.TheMap->GetChip(2, 2, 0), 9);
}

} // namespace
} // namespace quarvel::test
