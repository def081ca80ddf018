// Crash recovery: the copy's files, when copies are written and removed, offering a copy
// left behind, and the commands that end a copy's life.
#include "editor/changes.h"
#include "editor/commands.h"
#include "editor/errortext.h"
#include "editor/recovery.h"
#include "editor/session.h"
#include "map/fileio.h"
#include "map/maperror.h"
#include "tests/fakewindows.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel::test {
namespace {

// The logged recovery question for a copy of the map named `name`, whatever its time.
bool Offered(const std::string& logged, const std::string& name) {
    const std::string head =
        "msg 前回保存されなかった編集内容があります。復元しますか？\n\nマップ: " + name + "\n";
    const std::string tail = "|確認";
    return logged.size() >= head.size() + tail.size() &&
           logged.compare(0, head.size(), head) == 0 &&
           logged.compare(logged.size() - tail.size(), tail.size(), tail) == 0;
}
const std::string Question = "msg 編集中のマップを保存しますか？|確認";

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// A store that can be made to fail, over a real folder.
class FailingStore : public TRecoveryFolder {
public:
    using TRecoveryFolder::TRecoveryFolder;
    void Save(const TMap& map) override {
        ++Saves;
        if (Fail) throw QuarvelError("disk full");
        TRecoveryFolder::Save(map);
    }
    bool Fail = false;
    int Saves = 0;
};

class RecoveryTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        State.Session.Recovery = &Recovery;
    }
    void TearDown() override {
        State.Session = EditorSession{};
        EditorTest::TearDown();
    }
    void Paint(int x, int y, int z, uint8_t chip) {
        State.TheMap->UndoBuf.BeginStep();
        State.TheMap->SetChip(x, y, z, chip);
    }
    // Ticks once a second from `from` to `to` (inclusive).
    void TickThrough(int64_t from, int64_t to) {
        for (int64_t t = from; t <= to; t += TRecovery::TickMs) Recovery.Tick(t);
    }
    std::vector<uint8_t> MapBytes() const {
        std::vector<uint8_t> b(State.TheMap->Header, State.TheMap->Header + TMap::HeaderSize);
        b.insert(b.end(), State.TheMap->Cells, State.TheMap->Cells + TMap::CellCount);
        return b;
    }
    // A copy as an earlier run would have left it: `chip` at (1, 2, 3), named `original`.
    void LeaveCopy(const std::string& original, uint8_t chip) {
        TMap other;
        other.Clear();
        other.SetChip(1, 2, 3, chip);
        other.FileName = original;
        TRecoveryFolder(StateFolder).Save(other);
    }

    std::string StateFolder = Dir.File("state/quarvel");
    FailingStore Store{StateFolder};
    TRecovery Recovery{State, Store};
};

TEST_F(RecoveryTest, TheCopyIsTheMapFileAndItsOriginalName) {
    Paint(4, 5, 6, 20);
    State.TheMap->SetName("abc");
    State.TheMap->FileName = Dir.File("maps/a b.map");
    Store.Save(*State.TheMap);
    // Written without touching the map's state.
    EXPECT_TRUE(State.TheMap->Modified);
    EXPECT_EQ(State.TheMap->FileName, Dir.File("maps/a b.map"));
    EXPECT_EQ(ReadBytes(Store.MapPath()), MapBytes());
    EXPECT_EQ(Store.Find(), Dir.File("maps/a b.map"));
    struct stat st;
    ASSERT_EQ(::stat(StateFolder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // Nothing but the two files is left beside them.
    int files = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(StateFolder)) ++files;
    EXPECT_EQ(files, 2);

    // A new map has no name to record.
    State.TheMap->FileName.clear();
    Store.Save(*State.TheMap);
    EXPECT_EQ(Store.Find(), std::string());
    Store.Remove();
    EXPECT_FALSE(Exists(Store.MapPath()));
    EXPECT_FALSE(Exists(Store.SourcePath()));
    EXPECT_EQ(Store.Find(), std::nullopt);
}

TEST_F(RecoveryTest, BrokenCopiesAreNotOfferedAndNothingHangs) {
    std::filesystem::create_directories(StateFolder);
    // A map without its name file is a map of no file; a name alone is no copy.
    WriteBytes(Store.SourcePath(), {'x'});
    EXPECT_EQ(Store.Find(), std::nullopt);
    Paint(1, 1, 1, 9);
    Store.Save(*State.TheMap);
    ::unlink(Store.SourcePath().c_str());
    EXPECT_EQ(Store.Find(), std::string());

    auto bytes = MapBytes();
    bytes.pop_back(); // one byte short
    WriteBytes(Store.MapPath(), bytes);
    EXPECT_EQ(Store.Find(), std::nullopt);
    bytes = MapBytes();
    bytes[7] = '!'; // not the tag
    WriteBytes(Store.MapPath(), bytes);
    EXPECT_EQ(Store.Find(), std::nullopt);
    bytes.push_back(0); // too long
    bytes[7] = 0;
    WriteBytes(Store.MapPath(), bytes);
    EXPECT_EQ(Store.Find(), std::nullopt);

    // A FIFO in the copy's place is not waited on; a folder neither.
    ::unlink(Store.MapPath().c_str());
    ASSERT_EQ(::mkfifo(Store.MapPath().c_str(), 0600), 0);
    EXPECT_EQ(Store.Find(), std::nullopt);
    ::unlink(Store.MapPath().c_str());
    std::filesystem::create_directory(Store.MapPath());
    EXPECT_EQ(Store.Find(), std::nullopt);
    std::filesystem::remove(Store.MapPath());

    // Temporary files of a write that was killed go at the next look.
    WriteBytes(SaveTempPath(Store.MapPath()), {1, 2});
    WriteBytes(Dir.File("state/quarvel/other.quarvel-save"), {1});
    Store.Find();
    EXPECT_FALSE(Exists(SaveTempPath(Store.MapPath())));
    EXPECT_TRUE(Exists(Dir.File("state/quarvel/other.quarvel-save")));
}

TEST_F(RecoveryTest, AFolderThatCannotBeMadeIsAClearError) {
    WriteBytes(Dir.File("state"), {1}); // a file where the folder should be
    Paint(1, 1, 1, 9);
    try {
        Store.Save(*State.TheMap);
        FAIL() << "no error";
    } catch (const QuarvelError& e) {
        EXPECT_NE(std::string(e.what()).find(StateFolder), std::string::npos) << e.what();
        // The editor words it: Japanese, naming the folder.
        const std::string text = ShownErrorText(e);
        EXPECT_NE(text.find("作成できません"), std::string::npos) << text;
        EXPECT_NE(text.find(StateFolder), std::string::npos) << text;
    }
    // A folder in the copy's place: the copy cannot be replaced, said in the editor's words.
    std::filesystem::remove(Dir.File("state"));
    std::filesystem::create_directories(Store.MapPath() + "/x");
    State.TheMap->FileName = Dir.File("other.map");
    try {
        Store.Save(*State.TheMap);
        FAIL() << "no error";
    } catch (const QuarvelError& e) {
        const std::string text = ShownErrorText(e);
        EXPECT_NE(text.find("復元用のコピー「" + Store.MapPath() + "」"), std::string::npos)
            << text;
        EXPECT_EQ(text.find("cannot"), std::string::npos) << text;
    }
}

TEST_F(RecoveryTest, ACopyFollowsChangesWithinThirtySeconds) {
    TickThrough(0, 60000);
    EXPECT_EQ(Store.Saves, 0); // nothing to keep

    // One change: written once the map has been quiet for a moment.
    Paint(1, 1, 0, 9);
    Recovery.Tick(61000);
    Recovery.Tick(62000);
    EXPECT_EQ(Store.Saves, 0);
    Recovery.Tick(63000);
    EXPECT_EQ(Store.Saves, 1);
    EXPECT_EQ(ReadBytes(Store.MapPath()), MapBytes());
    TickThrough(64000, 90000);
    EXPECT_EQ(Store.Saves, 1); // nothing new

    // Changes every second never leave a quiet moment: the copy is written anyway, and no
    // change waits 30 s for it.
    int64_t t = 91000;
    int64_t uncopiedSince = -1;
    for (int i = 0; i < 120; ++i, t += 1000) {
        Paint(i % 32, 3, 0, uint8_t(1 + i % 20));
        if (uncopiedSince < 0) uncopiedSince = t;
        const int before = Store.Saves;
        Recovery.Tick(t);
        if (Store.Saves > before)
            uncopiedSince = -1;
        else
            ASSERT_LT(t - uncopiedSince, 30000) << "at " << t;
    }
    EXPECT_GE(Store.Saves, 4);
    EXPECT_LE(Store.Saves, 8); // not a write every second either

    // An undo is a change like any other.
    Recovery.Tick(t += 1000);
    Recovery.Tick(t += 5000);
    const int before = Store.Saves;
    State.TheMap->Undo();
    TickThrough(t + 1000, t + 5000);
    EXPECT_EQ(Store.Saves, before + 1);
    EXPECT_EQ(ReadBytes(Store.MapPath()), MapBytes());
}

TEST_F(RecoveryTest, ANameChangeAloneIsWrittenAndRecorded) {
    Paint(1, 1, 0, 9);
    TickThrough(0, 3000);
    ASSERT_EQ(Store.Saves, 1);
    State.TheMap->FileName = Dir.File("renamed.map"); // a save under a new name that failed
    TickThrough(4000, 7000);
    EXPECT_EQ(Store.Saves, 2);
    EXPECT_EQ(Store.Find(), Dir.File("renamed.map"));
}

TEST_F(RecoveryTest, AFailedWriteIsReportedOnceAndTriedAgain) {
    Store.Fail = true;
    Paint(1, 1, 0, 9);
    TickThrough(0, 20000);
    EXPECT_GE(Store.Saves, 3);
    EXPECT_EQ(Log, CallLog{"msg disk full|Quarvel"});
    Store.Fail = false;
    TickThrough(21000, 24000);
    EXPECT_EQ(ReadBytes(Store.MapPath()), MapBytes());
    EXPECT_EQ(Log.size(), 1u);
}

TEST_F(RecoveryTest, SaveNewOpenAndACleanExitRemoveTheCopy) {
    const std::string a = Dir.File("a.map");
    uint8_t chip = 0;
    auto written = [&] {
        Paint(2, 2, 0, ++chip);
        TickThrough(0, 3000);
        return Exists(Store.MapPath());
    };
    ASSERT_TRUE(written());
    Main.SaveAnswer = a;
    MenuClick(State, tagSave);
    EXPECT_FALSE(Exists(Store.MapPath()));
    EXPECT_FALSE(Exists(Store.SourcePath()));

    ASSERT_TRUE(written());
    Messages.Answers = {mrNo};
    MenuClick(State, tagNew);
    EXPECT_FALSE(Exists(Store.MapPath()));

    ASSERT_TRUE(written());
    Messages.Answers = {mrNo};
    Main.OpenAnswer = a;
    MenuClick(State, tagOpen);
    EXPECT_FALSE(Exists(Store.MapPath()));

    // Open of a file that is no map keeps the changes and their copy.
    ASSERT_TRUE(written());
    WriteBytes(Dir.File("not.map"), {1, 2, 3});
    Messages.Answers = {mrNo};
    Main.OpenAnswer = Dir.File("not.map");
    MenuClick(State, tagOpen);
    EXPECT_TRUE(Exists(Store.MapPath()));

    // Cancel at exit keeps it; dropping the changes at exit removes it.
    Messages.Answers = {mrCancel};
    EXPECT_FALSE(FormClose(State));
    EXPECT_TRUE(Exists(Store.MapPath()));
    Messages.Answers = {mrNo};
    EXPECT_TRUE(FormClose(State));
    EXPECT_FALSE(Exists(Store.MapPath()));
    TickThrough(4000, 40000); // the dropped changes are not written again
    EXPECT_FALSE(Exists(Store.MapPath()));
}

TEST_F(RecoveryTest, YesRestoresTheCopyAsAModifiedMapUnderItsName) {
    LeaveCopy(Dir.File("orig.map"), 40); // a two-level object: its other part comes too
    State.CurrentLevel = 5;
    Recovery.FindLeftCopy();
    // Until it is offered, the editor's own copies do not replace it.
    Paint(0, 0, 0, 9);
    TickThrough(0, 40000);
    EXPECT_EQ(Store.Saves, 0);
    State.TheMap->Clear();

    Messages.Answers = {mrYes};
    Log.clear();
    // The question names the map and the time of the copy (here in UTC).
    const struct timespec written[2] = {{1796729400, 0}, {1796729400, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, Store.MapPath().c_str(), written, 0), 0);
    ScopedEnv utc("TZ", "UTC");
    ::tzset();
    StartSession(State, "");
    EXPECT_EQ(Log.front(), "msg 前回保存されなかった編集内容があります。復元しますか？\n\n"
                           "マップ: orig.map\n保存時刻: 2026/12/08 11:30|確認");
    EXPECT_EQ(State.TheMap->GetChip(1, 2, 3), 40);
    EXPECT_NE(State.TheMap->GetChip(1, 2, 2) | State.TheMap->GetChip(1, 2, 4), 0);
    EXPECT_TRUE(State.TheMap->Modified);
    EXPECT_EQ(State.TheMap->FileName, Dir.File("orig.map"));
    EXPECT_FALSE(State.TheMap->Undo()); // no history came with it
    EXPECT_EQ(State.CurrentLevel, 0);   // the views start over
    EXPECT_EQ(Count("edit.RedrawLevel"), 1);
    // The copy is now this run's own; it goes with the next save.
    EXPECT_TRUE(Exists(Store.MapPath()));
    MenuClick(State, tagSave);
    EXPECT_FALSE(Exists(Store.MapPath()));
    EXPECT_EQ(ReadBytes(Dir.File("orig.map"))[48 + TMap::Index(1, 2, 3)], 40);
}

TEST_F(RecoveryTest, ARestoredCopysChangesAreThoseSinceItsFileOnDisk) {
    const std::string orig = Dir.File("orig.map");
    TMap file;
    file.Clear();
    file.SetChip(5, 5, 5, 21);
    file.SetChip(1, 2, 3, 40);
    State.View.Changes = true;
    // The file as it is on disk; then files that give no map: gone, garbage, a folder, a
    // pipe (not waited on). Those compare with the empty map.
    for (int kind = 0; kind < 5; ++kind) {
        std::filesystem::remove_all(orig);
        if (kind == 0) file.WriteToFile(orig);
        if (kind == 2) WriteBytes(orig, std::vector<uint8_t>(TMap::FileSize, 'x'));
        if (kind == 3) std::filesystem::create_directory(orig);
        if (kind == 4) {
            ASSERT_EQ(::mkfifo(orig.c_str(), 0600), 0);
        }
        LeaveCopy(orig, 41);
        Messages.Answers = {mrYes};
        StartSession(State, "");
        ASSERT_EQ(State.TheMap->GetChip(1, 2, 3), 41) << kind;
        TMap empty;
        empty.Clear();
        const TMap& base = kind == 0 ? file : empty;
        std::vector<int32_t> plain;
        for (int i = 0; i < TMap::CellCount; ++i)
            if (State.TheMap->Cells[i] != base.Cells[i]) plain.push_back(i);
        EXPECT_EQ(UpdateChanges(State), plain) << kind;
        EXPECT_EQ(ChangesText(State), "変更 " + std::to_string(plain.size()));
    }
    std::filesystem::remove_all(orig);
}

TEST_F(RecoveryTest, NoDeletesTheCopyAndAClosedBoxKeepsIt) {
    LeaveCopy("", 40);
    Messages.Answers = {mrNo};
    StartSession(State, "");
    ASSERT_EQ(Log.size(), 1u);
    EXPECT_TRUE(Offered(Log.front(), "無題")) << Log.front();
    EXPECT_FALSE(Exists(Store.MapPath()));
    EXPECT_EQ(State.TheMap->GetChip(1, 2, 3), 0);
    EXPECT_FALSE(State.TheMap->Modified);

    // A box closed without a choice deletes nothing: the copy is loaded.
    LeaveCopy("", 41);
    Messages.Answers = {mrCancel};
    StartSession(State, "");
    EXPECT_EQ(State.TheMap->GetChip(1, 2, 3), 41);
    EXPECT_TRUE(Exists(Store.MapPath()));
}

TEST_F(RecoveryTest, OpeningTheOriginalOffersItsCopy) {
    const std::string orig = Dir.File("orig.map");
    TMap file;
    file.Clear();
    file.SetChip(7, 7, 0, 5);
    ASSERT_TRUE(file.SaveToFile(orig));

    // Started with the file: one question, from the open, and no save question.
    LeaveCopy(orig, 40);
    Messages.Answers = {mrYes};
    StartSession(State, Dir.Path() + "/./orig.map");
    EXPECT_TRUE(Offered(Log.front(), "orig.map")) << Log.front();
    EXPECT_EQ(Count("msg"), 1);
    EXPECT_EQ(State.TheMap->GetChip(1, 2, 3), 40);
    EXPECT_EQ(State.TheMap->GetChip(7, 7, 0), 0);
    EXPECT_TRUE(State.TheMap->Modified);

    // いいえ: the copy goes and the file opens.
    State.TheMap->Clear();
    Log.clear();
    LeaveCopy(orig, 40);
    Messages.Answers = {mrNo};
    StartSession(State, orig);
    EXPECT_TRUE(Offered(Log.front(), "orig.map")) << Log.front();
    EXPECT_EQ(State.TheMap->GetChip(7, 7, 0), 5);
    EXPECT_FALSE(State.TheMap->Modified);
    EXPECT_FALSE(Exists(Store.MapPath()));

    // A copy of another file is offered first; the file is opened after it (and asks to
    // save the restored changes).
    State.TheMap->Clear();
    Log.clear();
    LeaveCopy(Dir.File("other.map"), 40);
    Messages.Answers = {mrYes, mrNo};
    StartSession(State, orig);
    EXPECT_TRUE(Offered(Log.front(), "other.map")) << Log.front();
    EXPECT_EQ(Count(Question), 1);
    EXPECT_EQ(State.TheMap->GetChip(7, 7, 0), 5);
    EXPECT_EQ(State.TheMap->FileName, orig);
    EXPECT_FALSE(Exists(Store.MapPath())); // the restored changes were dropped
}

} // namespace
} // namespace quarvel::test
