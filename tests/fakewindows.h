// Fake editor windows for the editor logic tests: every call is logged in order, message
// boxes answer from a queue, and a fixture sets up the shared editor state around them.
#pragma once

#include "editor/global.h"
#include "editor/selectarea.h"
#include "editor/selectionmove.h"
#include "editor/windows.h"
#include "map/mapclass.h"
#include "tests/testutil.h"

#include <deque>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quarvel::test {

using CallLog = std::vector<std::string>;

class FakeEditView : public IEditView {
public:
    explicit FakeEditView(CallLog& log) : Log(log) {}
    void RedrawLevel() override { Log.push_back("edit.RedrawLevel"); }
    void RedrawCell(int x, int y) override { Log.push_back(Cell("edit.RedrawCell", x, y)); }
    void MarkCell(int x, int y, bool sel) override {
        Log.push_back(Cell("edit.MarkCell", x, y) + (sel ? " 1" : " 0"));
    }
    void PaintView() override { Log.push_back("edit.PaintView"); }
    void ScrollToCell(int x, int y) override { Log.push_back(Cell("edit.ScrollToCell", x, y)); }
    int GetZoom() const override { return Zoom; }
    void SetZoom(int z) override {
        Zoom = z;
        Log.push_back("edit.SetZoom " + std::to_string(z));
    }
    TColor GetBackColor() const override { return Back; }
    void SetBackColor(TColor c) override { Back = c; }
    int Zoom = 0;
    TColor Back = 0x808080;

    static std::string Cell(const char* what, int x, int y) {
        return std::string(what) + " " + std::to_string(x) + " " + std::to_string(y);
    }

private:
    CallLog& Log;
};

class FakeWholeView : public IWholeView {
public:
    explicit FakeWholeView(CallLog& log) : Log(log) {}
    void RedrawAll() override { Log.push_back("whole.RedrawAll"); }
    void RedrawCell(int x, int y, int z) override {
        Log.push_back(FakeEditView::Cell("whole.RedrawCell", x, y) + " " + std::to_string(z));
    }
    void PaintView() override { Log.push_back("whole.PaintView"); }
    void ScrollToCell(int x, int y, int z) override {
        Log.push_back(FakeEditView::Cell("whole.ScrollToCell", x, y) + " " + std::to_string(z));
    }
    int GetZoom() const override { return Zoom; }
    void SetZoom(int z) override {
        Zoom = z;
        Log.push_back("whole.SetZoom " + std::to_string(z));
    }
    TColor GetBackColor() const override { return Back; }
    void SetBackColor(TColor c) override { Back = c; }
    // Counted, not logged: the outline is shown beside the redraws the log checks.
    void ShowSelection() override { ++SelectionShown; }
    int Zoom = 0;
    TColor Back = 0;
    int SelectionShown = 0;

private:
    CallLog& Log;
};

class FakeInfoPanel : public IInfoPanel {
public:
    explicit FakeInfoPanel(CallLog& log) : Log(log) {}
    void UpdateInfo() override { Log.push_back("info.UpdateInfo"); }
    void PaintPalette() override { Log.push_back("info.PaintPalette"); }

private:
    CallLog& Log;
};

// Logs "msg TEXT|CAPTION". OK boxes answer mrOk; Yes/No/Cancel boxes take the next answer
// of `Answers` (a test that forgets to queue one fails).
class FakeMessages : public IMessages {
public:
    explicit FakeMessages(CallLog& log) : Log(log) {}
    int Show(const std::string& text, const std::string& caption, MsgButtons b) override {
        Log.push_back("msg " + text + "|" + caption);
        if (b == MsgButtons::Ok) return mrOk;
        if (Answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return mrCancel;
        }
        int a = Answers.front();
        Answers.pop_front();
        return a;
    }
    std::deque<int> Answers;

private:
    CallLog& Log;
};

class FakeMainFrame : public IMainFrame {
public:
    explicit FakeMainFrame(CallLog& log) : Log(log) {}
    void SetCaption(const std::string& text) override { Log.push_back("main.SetCaption " + text); }
    std::string RunOpenDialog() override {
        Log.push_back("main.RunOpenDialog");
        return OpenAnswer;
    }
    std::string RunSaveDialog() override {
        Log.push_back("main.RunSaveDialog");
        return SaveAnswer;
    }
    std::string RunSaveDialogAt(const std::string& name) override {
        Log.push_back("main.RunSaveDialog " + name);
        return SaveAnswer;
    }
    bool RunColorDialog(TColor& color) override {
        Log.push_back("main.RunColorDialog " + std::to_string(color));
        if (!ColorAnswerOk) return false;
        color = ColorAnswer;
        return true;
    }
    int RunShiftDialog() override {
        Log.push_back("main.RunShiftDialog");
        return DialogAnswer;
    }
    int RunSwapDialog() override {
        Log.push_back("main.RunSwapDialog");
        return DialogAnswer;
    }
    // Answers with the next of MoveAnswers (OK), or cancels when there is none.
    bool RunMoveDialog(MoveOffsets& offsets) override {
        Log.push_back("main.RunMoveDialog " + std::to_string(offsets.X) + " " +
                      std::to_string(offsets.Y) + " " + std::to_string(offsets.Z));
        if (MoveAnswers.empty()) return false;
        offsets = MoveAnswers.front();
        MoveAnswers.pop_front();
        return true;
    }
    // Answers with the next of ReplaceAnswers (its button and choices), or cancels.
    ReplaceAction RunReplaceDialog(ReplaceChoices& choices) override {
        Log.push_back("main.RunReplaceDialog " + std::to_string(choices.SelectionOn));
        if (ReplaceAnswers.empty()) return ReplaceAction::Cancel;
        const auto answer = ReplaceAnswers.front();
        ReplaceAnswers.pop_front();
        choices = answer.second;
        return answer.first;
    }
    void CloseFrame() override { Log.push_back("main.CloseFrame"); }
    void Maximize() override { Log.push_back("main.Maximize"); }
    void NextChild() override { Log.push_back("main.NextChild"); }
    void Cascade() override { Log.push_back("main.Cascade"); }
    void TileHorizontal() override { Log.push_back("main.TileHorizontal"); }
    void TileVertical() override { Log.push_back("main.TileVertical"); }
    void SetMenuChecked(int tag, bool c) override { Checked[tag] = c; }
    bool IsMenuChecked(int tag) const override { return Checked[tag]; }
    void PlaceInfoPanel() override { Log.push_back("main.PlaceInfoPanel"); }
    void Terminate() override { Log.push_back("main.Terminate"); }

    std::string OpenAnswer, SaveAnswer;
    bool ColorAnswerOk = false;
    TColor ColorAnswer = 0;
    int DialogAnswer = mrCancel;
    std::deque<MoveOffsets> MoveAnswers;
    std::deque<std::pair<ReplaceAction, ReplaceChoices>> ReplaceAnswers;
    bool Checked[256] = {};

private:
    CallLog& Log;
};

// A fresh editor state per test with a new empty map, an inactive selection, no chip sheets
// and the fake windows installed; the log starts empty.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        State.Windows = {&Main, &Info, &Edit, &Whole, &Messages};
        State.OwnedMap = std::make_unique<TMap>();
        State.TheMap = State.OwnedMap.get();
        State.TheMap->Clear();
        State.TheSelection = std::make_unique<TSelectArea>(State);
        State.ProgramFolder = Dir.Path() + "/";
    }

    // The rectangle on level `from`, then the current level becomes `to` with the selection
    // kept: the box spans the levels between the two. The log starts empty after it.
    void SelectBox(int x0, int y0, int x1, int y1, int from, int to) {
        State.CurrentLevel = from;
        State.TheSelection->SetActive(true);
        State.TheSelection->SetCorner(0, x0, y0);
        State.TheSelection->SetCorner(1, x1, y1);
        ChangeLevelKeepingSelection(State, to);
        Log.clear();
    }
    // How many logged calls start with `prefix`.
    int Count(const std::string& prefix) const {
        int n = 0;
        for (const auto& c : Log) n += c.compare(0, prefix.size(), prefix) == 0;
        return n;
    }
    // Writes the four chip files of terrain set `set` into Dir/chip/; `shortFile` names
    // a suffix (".2c", "s.2c", ".pal", "s.pal") whose file is cut one byte short, and
    // `missing` one that is left out.
    void WriteChipSet(int set, uint8_t firstByte = 0, const std::string& shortFile = "",
                      const std::string& missing = "") const;

    TempDir Dir;
    CallLog Log;
    TEditorState State;
    FakeEditView Edit{Log};
    FakeWholeView Whole{Log};
    FakeInfoPanel Info{Log};
    FakeMessages Messages{Log};
    FakeMainFrame Main{Log};
};

inline void EditorTest::WriteChipSet(int set, uint8_t firstByte, const std::string& shortFile,
                                     const std::string& missing) const {
    std::string chipDir = Dir.File("chip");
    std::filesystem::create_directories(chipDir);
    const std::string stem = chipDir + "/" + TerrainFileNames[set];
    const std::pair<std::string, size_t> files[] = {
        {".2c", 516096}, {"s.2c", 129024}, {".pal", 1024}, {"s.pal", 1024}};
    for (const auto& f : files) {
        if (f.first == missing) continue;
        std::vector<uint8_t> bytes(f.second - (f.first == shortFile ? 1 : 0), 1);
        if (!bytes.empty()) bytes[0] = firstByte;
        WriteBytes(stem + f.first, bytes);
    }
}

} // namespace quarvel::test
