// quarvel-cli edit with the editor's commands: put, fill, level, select and the clipboard.
#include "tests/testutil.h"

#include <gtest/gtest.h>

namespace quarvel::test {
namespace {

RunResult Edit(const std::string& script) {
    return RunCli("edit", script);
}

TEST(EditorScriptTest, PutFollowsTheEditViewRules) {
    auto r = Edit("step\n"
                  "put 3 4 5 12\n"
                  "get 3 4 5\n"
                  "put 3 4 1 33\n"
                  "get 3 4 1\n"
                  "put 6 6 46 35\n"
                  "put 3 4 5 12\n" // unchanged: no record
                  "undostate\n"
                  "undo\n"
                  "get 3 4 5\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "12\n床抜けるよ？\n0\n天井ぶち抜くよ？\n1 0 1\ntrue\n0\n");
}

TEST(EditorScriptTest, FillIsFourConnected) {
    auto r = Edit("set 0 0 2 3\nset 1 0 2 3\nset 1 1 2 3\nset 2 2 2 3\n"
                  "fill 0 0 2 7\n"
                  "get 1 1 2\nget 2 2 2\nget 5 5 2\n"
                  "fill 0 0 0 25\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "7\n3\n0\n床抜けるよ？\n");
}

TEST(EditorScriptTest, SelectCopyAndPasteOnAnotherLevel) {
    auto r = Edit("set 4 7 0 74\nset 5 7 0 75\nset 6 7 0 76\n"
                  "set 4 8 0 84\nset 5 8 0 85\nset 6 8 0 86\n"
                  "select 6 8 4 7\ncopy\ncopybuf\n"
                  "level 3\nselect 30 31 30 31\npaste\n"
                  "get 30 31 3\nget 31 31 3\nget 30 30 3\n"
                  "paste\n" // the selection is off after a paste
                  "undostate\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "3 2 74 75 76 84 85 86\n74\n75\n0\n1 0 2\n");
}

TEST(EditorScriptTest, CutDeleteAndSelectAll) {
    auto r = Edit("set 0 0 0 9\nset 31 31 0 9\n"
                  "selectall\ncut\ncopybuf\nget 31 31 0\n"
                  "undo\nget 31 31 0\n"
                  "select 0 0 0 0\ndelete\nget 0 0 0\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    const std::string head = "32 32 9 ";
    ASSERT_EQ(r.Out.compare(0, head.size(), head), 0) << r.Out.substr(0, 40);
    EXPECT_NE(r.Out.find(" 9\n0\ntrue\n9\n0\n"), std::string::npos);
}

TEST(EditorScriptTest, ChangingLevelSwitchesTheSelectionOff) {
    auto r = Edit("select 0 0 1 1\nlevel 2\ncopy\ncopybuf\nlevel 2\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "0 0\n");
}

TEST(EditorScriptTest, ExtendKeepsTheSelectionAndCopiesABox) {
    auto r = Edit("set 1 1 2 60\nset 2 1 3 61\nset 1 1 4 62\n"
                  "level 4\nselect 1 1 2 1\nextend 2\ncopy\ncopybuf\n"
                  // a box pasted at one cell near the top: its third level would be 48
                  "level 46\nselect 31 0 31 0\npaste\nget 31 0 46\nget 31 0 47\n"
                  "undostate\nrecords\n"
                  "select 1 1 1 1\nextend 4\nextend 3\ndelete\nget 1 1 2\nget 1 1 4\n"
                  "get 2 1 3\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "2 1 3 60 0 0 61 62 0\n60\n0\n1 0 2\n002e001f 002f001f\n"
                     "60\n0\n61\n");
}

TEST(EditorScriptTest, MoveSaysOkRefusedOrCancel) {
    auto r = Edit("move 1 0 0\n" // no selection
                  "set 30 0 5 60\nset 30 0 6 61\n"
                  "level 5\nselect 30 0 30 0\nextend 6\n"
                  "move 0 0 0\nmove 2 0 0\nmove 0 -1 0\n"
                  "move 1 2 -5\nget 31 2 0\nget 31 2 1\nget 30 0 6\nundostate\nrecords\n"
                  "undo\nget 30 0 5\nget 30 0 6\nredo\nget 31 2 1\n"
                  // the selection went along to levels 0..1: copy takes the block again
                  "copy\ncopybuf\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "cancel\ncancel\nrefused\nrefused\nok\n60\n61\n0\n1 0 4\n"
                     "3c05001e 3d06001e 0000021f 0001021f\n"
                     "true\n60\n61\ntrue\n61\n1 1 2 60 61\n");
}

TEST(EditorScriptTest, BadArgumentsAreUsageErrors) {
    for (const char* bad :
         {"put 32 0 0 1\n", "put 0 0 48 1\n", "fill 0 0 0 256\n", "level -1\n", "select 0 0 0\n",
          "copy now\n", "put 1 2 3\n", "extend 48\n", "move 1 1\n", "move a 0 0\n"}) {
        auto r = Edit(std::string("set 1 1 1 9\n") + bad + "get 1 1 1\n");
        EXPECT_EQ(r.Status, 2) << bad;
        EXPECT_NE(r.Err.find("line 2"), std::string::npos) << r.Err;
        EXPECT_EQ(r.Out, "") << bad;
    }
}

TEST(EditorScriptTest, ReplaceAndFindWalkTheMapInLevelRowColumnOrder) {
    auto r = Edit("set 3 4 5 7\nset 9 9 9 7\nset 0 0 0 7\nstep\n"
                  "replace 7 40 31 31 47 0 0 0\n" // corners in either order; 40 on 0 refused
                  "get 9 9 9\nget 9 9 8\nundostate\n"
                  "replace 7 40\n" // level 0 only: nothing written
                  "undostate\n"
                  "cursor 9 9\nlevel 9\nfind 40\nfind 41\nfind 7\nfind 40\n"
                  "undo\nget 9 9 9\nreplace 7 7\nfind 1\n");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "2 1\n40\n41\n1 0 4\n0 1\n1 0 4\n" // one step, not a second one
                     "3 4 5\n9 9 8\n0 0 0\n3 4 5\n"
                     "true\n7\n0 0\nnone\n");
    for (const char* bad : {"replace 168 1\n", "replace 1 -1\n", "replace 1 2 0 0 0 31 31\n",
                            "replace 1 2 0 0 0 32 0 0\n", "replace 1 2 0 0 48 0 0 0\n",
                            "find 200\n", "find\n", "cursor 0 32\n", "cursor 1\n"}) {
        auto e = Edit(std::string("set 1 1 1 1\n") + bad + "get 1 1 1\n");
        EXPECT_EQ(e.Status, 2) << bad;
        EXPECT_EQ(e.Out, "") << bad;
        EXPECT_NE(e.Err.find("line 2: "), std::string::npos) << e.Err;
    }
}

} // namespace
} // namespace quarvel::test
