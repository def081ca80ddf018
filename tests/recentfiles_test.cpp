// The recent files: order and limit, the kept list, items whose file is gone, and the
// commands that add to the list; file names from outside (drops, another start).
#include "editor/commands.h"
#include "editor/recentfiles.h"
#include "editor/session.h"
#include "tests/fakewindows.h"

#include <filesystem>
#include <unistd.h>

namespace quarvel::test {
namespace {

class MemoryStore : public IRecentFilesStore, public IRecentFilesMenu {
public:
    std::vector<std::string> Load() override { return Kept; }
    void Save(const std::vector<std::string>& paths) override {
        Kept = paths;
        ++Saves;
    }
    void ShowRecentFiles(const std::vector<std::string>& paths) override { Shown = paths; }
    std::vector<std::string> Kept, Shown;
    int Saves = 0;
};

class RecentFilesTest : public EditorTest {
protected:
    void TearDown() override {
        State.Session = EditorSession{};
        EditorTest::TearDown();
    }
    std::string MapFile(const std::string& name, uint8_t chip) {
        TMap m;
        m.Clear();
        m.SetChip(0, 0, 0, chip);
        m.SaveToFile(Dir.File(name));
        return Dir.File(name);
    }
    MemoryStore Store;
};

TEST_F(RecentFilesTest, NewestFirstNoRepeatsAtMostEight) {
    TRecentFiles recent(State, Store, Store);
    EXPECT_TRUE(Store.Shown.empty());
    for (int i = 1; i <= 10; ++i) recent.Add("/maps/" + std::to_string(i) + ".map");
    ASSERT_EQ(recent.Paths().size(), 8u);
    EXPECT_EQ(recent.Paths().front(), "/maps/10.map");
    EXPECT_EQ(recent.Paths().back(), "/maps/3.map");
    recent.Add("/maps/../maps/5.map"); // the same file, written another way
    EXPECT_EQ(recent.Paths().front(), "/maps/5.map");
    EXPECT_EQ(recent.Paths().size(), 8u);
    EXPECT_EQ(std::count(recent.Paths().begin(), recent.Paths().end(), "/maps/5.map"), 1);
    EXPECT_EQ(Store.Kept, recent.Paths());
    EXPECT_EQ(Store.Shown, recent.Paths());
    recent.Add("");
    EXPECT_EQ(recent.Paths().front(), "/maps/5.map");

    // A relative name is kept as an absolute one.
    recent.Add("rel.map");
    EXPECT_EQ(recent.Paths().front(), std::filesystem::current_path().string() + "/rel.map");
}

TEST_F(RecentFilesTest, AKeptListIsTakenAsAddWouldHaveLeftIt) {
    Store.Kept = {"/a.map", "",       "/b.map", "/a.map", "/c.map", "/d.map",
                  "/e.map", "/f.map", "/g.map", "/h.map", "/i.map"};
    TRecentFiles recent(State, Store, Store);
    EXPECT_EQ(recent.Paths(), (std::vector<std::string>{"/a.map", "/b.map", "/c.map", "/d.map",
                                                        "/e.map", "/f.map", "/g.map", "/h.map"}));
    EXPECT_EQ(Store.Shown, recent.Paths());
    EXPECT_EQ(Store.Saves, 0); // reading it changes nothing
}

TEST_F(RecentFilesTest, AGoneFileLeavesTheListWithAMessage) {
    const std::string a = MapFile("a.map", 7);
    Store.Kept = {Dir.File("gone.map"), a};
    TRecentFiles recent(State, Store, Store);
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(1, 1, 0, 9); // modified: a gone file asks nothing
    recent.Open(0);
    EXPECT_EQ(Log, CallLog{"msg " + Dir.File("gone.map") + "\n" +
                           "ファイルが見つかりません。一覧から外します。|エラー"});
    EXPECT_EQ(Store.Kept, std::vector<std::string>{a});
    EXPECT_EQ(Store.Shown, Store.Kept);
    EXPECT_EQ(State.TheMap->GetChip(1, 1, 0), 9);

    // A file under a name that is no folder any more is gone too.
    const std::string under = Dir.File("a.map/x.map");
    recent.Add(under);
    recent.Open(0);
    EXPECT_EQ(Store.Kept, std::vector<std::string>{a});
    recent.Open(5); // no such item
}

TEST_F(RecentFilesTest, OpenAskFirstAndTheFileMovesToTheTop) {
    State.Session.Recent = new TRecentFiles(State, Store, Store);
    std::unique_ptr<TRecentFiles> owner(State.Session.Recent);
    const std::string a = MapFile("a.map", 7);
    const std::string b = MapFile("b.map", 8);
    State.Session.Recent->Add(a);
    State.Session.Recent->Add(b);
    State.TheMap->UndoBuf.BeginStep();
    State.TheMap->SetChip(1, 1, 0, 9);
    Messages.Answers = {mrCancel};
    State.Session.Recent->Open(1);
    EXPECT_EQ(Log, CallLog{"msg 編集中のマップを保存しますか？|確認"});
    EXPECT_EQ(State.TheMap->GetChip(1, 1, 0), 9);
    Messages.Answers = {mrNo};
    State.Session.Recent->Open(1);
    EXPECT_EQ(State.TheMap->GetChip(0, 0, 0), 7);
    EXPECT_EQ(Store.Kept, (std::vector<std::string>{a, b}));

    // Saving under a new name puts that name on top; Open through the menu too.
    Main.SaveAnswer = Dir.File("c.map");
    MenuClick(State, tagSaveAs);
    EXPECT_EQ(Store.Kept.front(), Dir.File("c.map"));
    Main.OpenAnswer = b;
    MenuClick(State, tagOpen);
    EXPECT_EQ(Store.Kept, (std::vector<std::string>{b, Dir.File("c.map"), a}));
    // A file that is no map is not listed.
    WriteBytes(Dir.File("no.map"), {1});
    Main.OpenAnswer = Dir.File("no.map");
    MenuClick(State, tagOpen);
    EXPECT_EQ(Store.Kept.size(), 3u);
}

TEST_F(RecentFilesTest, AStartWithAFileThatIsNoMapRunsOnWithANewMap) {
    WriteBytes(Dir.File("notes.txt"), std::vector<uint8_t>(49200, 'x'));
    StartSession(State, Dir.File("notes.txt"));
    EXPECT_EQ(Log, CallLog{"msg マップファイルじゃないよ？|エラー"});
    EXPECT_TRUE(State.TheMap->FileName.empty());
    EXPECT_FALSE(State.TheMap->Modified);
    Log.clear();
    StartSession(State, ""); // no file, no copy: nothing happens
    EXPECT_TRUE(Log.empty());
}

TEST(DroppedFiles, TheFirstMapFileIsOpened) {
    EXPECT_EQ(DroppedMap({}), "");
    EXPECT_EQ(DroppedMap({"/a/b.png", "/a/c.MAP", "/a/d.map"}), "/a/c.MAP");
    EXPECT_EQ(DroppedMap({"/a/.map", ".map", "map", "/a/x.mapx", "/a/x.map/"}), "");
    EXPECT_EQ(DroppedMap({"x.map"}), "x.map");
}

TEST(HandOver, NamesArriveWholeAndOneByOne) {
    const std::string odd("/tmp/\xff\n\x01 x.map", 14);
    std::string stream = EncodeHandOver(odd) + EncodeHandOver("/b.map");
    std::string buffer, path;
    // Byte by byte: nothing until a name is whole.
    size_t i = 0;
    for (; i + 1 < 4 + odd.size(); ++i) {
        buffer.push_back(stream[i]);
        ASSERT_EQ(DecodeHandOver(buffer, path), 0);
    }
    buffer.push_back(stream[i]);
    ASSERT_EQ(DecodeHandOver(buffer, path), 1);
    EXPECT_EQ(path, odd);
    buffer += stream.substr(i + 1);
    ASSERT_EQ(DecodeHandOver(buffer, path), 1);
    EXPECT_EQ(path, "/b.map");
    EXPECT_TRUE(buffer.empty());

    // An empty or overlong name is no message.
    buffer = std::string(4, '\0');
    EXPECT_EQ(DecodeHandOver(buffer, path), -1);
    buffer = EncodeHandOver(std::string(MaxHandOverName + 1, 'a')).substr(0, 10);
    EXPECT_EQ(DecodeHandOver(buffer, path), -1);
    buffer = std::string("\xff\xff\xff\xff", 4);
    EXPECT_EQ(DecodeHandOver(buffer, path), -1);
}

TEST(FileNames, SameFileThroughLinksAndSteps) {
    TempDir dir;
    WriteBytes(dir.File("a.map"), {1});
    ASSERT_EQ(::symlink(dir.File("a.map").c_str(), dir.File("link.map").c_str()), 0);
    EXPECT_TRUE(SameFile(dir.File("a.map"), dir.File("link.map")));
    EXPECT_TRUE(SameFile(dir.File("a.map"), dir.Path() + "/x/../a.map"));
    EXPECT_TRUE(SameFile(dir.File("gone.map"), dir.Path() + "/./gone.map"));
    EXPECT_FALSE(SameFile(dir.File("a.map"), dir.File("gone.map")));
    EXPECT_EQ(AbsoluteFileName("/a//b/./c/../d.map"), "/a/b/d.map");
    EXPECT_EQ(AbsoluteFileName(""), "");
}

} // namespace
} // namespace quarvel::test
