// Latency of the editor's screen work on the demonstration map: one painted cell (mouse
// press through both pictures and the screen), a level redraw, and the display conversion.
#include "content/defaultchips.h"
#include "content/demomap.h"
#include "editor/changes.h"
#include "editor/commands.h"
#include "editor/global.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Edit.h"
#include "views/Form_View.h"
#include "views/indexedimage.h"
#include "views/problemspanel.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>
#include <random>

using namespace quarvel;
using namespace quarvel::test;

namespace {

// The editor on the default chips with the demonstration map, as a user first sees it.
struct TDemoEditor {
    TDemoEditor() {
        WriteDefaultChips(Folder.Path() + "chip");
        State.ProgramFolder = Folder.Path();
        Set.Show();
        State.Windows.Messages = &Messages;
        StartEditor(State);
        BuildDemoMap(*State.TheMap);
        ResetViews(State);
        QCoreApplication::processEvents();
    }
    TProgramFolder Folder;
    TScriptedMessages Messages;
    TEditorState State;
    TWindowSet Set{State};
};

TDemoEditor& Editor() {
    static TDemoEditor* editor = new TDemoEditor; // lives until the program ends
    return *editor;
}

// A press and release of the left button on cell (10, 6) of the current level, the chip
// alternating so that every press writes.
void PressCell(TEditorState& State, TForm2* view, int i) {
    State.CurrentChip = (i & 1) ? 5 : 9;
    QPoint at = EditCellCentre(10, 6);
    SendMouse(view->PaintBox1, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(view->PaintBox1, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void BM_PaintOneCell(benchmark::State& state) {
    TDemoEditor& e = Editor();
    TForm2* view = e.Set.Form2;
    view->ScrollToCell(10, 6);
    TIndexedImage editImage, wholeImage;
    int i = 0;
    for (auto _ : state) {
        e.State.CurrentLevel = 1;
        PressCell(e.State, view, i++);
        // Both pictures ready to be shown.
        benchmark::DoNotOptimize(editImage.Wrap(view->Picture().Picture).constBits());
        benchmark::DoNotOptimize(wholeImage.Wrap(e.Set.Form3->Picture().Picture).constBits());
    }
    e.State.TheMap->UndoBuf.Reset();
}
BENCHMARK(BM_PaintOneCell)->Unit(benchmark::kMicrosecond);

void BM_PaintOneCellOnScreen(benchmark::State& state) {
    TDemoEditor& e = Editor();
    TForm2* view = e.Set.Form2;
    view->ScrollToCell(10, 6);
    int i = 0;
    for (auto _ : state) {
        e.State.CurrentLevel = 1;
        PressCell(e.State, view, i++);
        QCoreApplication::processEvents(); // the changed parts painted to the window
    }
    e.State.TheMap->UndoBuf.Reset();
}
BENCHMARK(BM_PaintOneCellOnScreen)->Unit(benchmark::kMicrosecond);

void BM_RedrawLevelOnScreen(benchmark::State& state) {
    TDemoEditor& e = Editor();
    e.State.CurrentLevel = 1;
    for (auto _ : state) {
        e.Set.Form2->RedrawLevel();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_RedrawLevelOnScreen)->Unit(benchmark::kMicrosecond);

// The editor on the default chips with every cell of every level a chip, the ghost and the
// cut-away on, both views at zoom 0.
struct TDenseEditor : TDemoEditor {
    TDenseEditor() {
        std::mt19937 rng(2);
        std::uniform_int_distribution<int> chip(1, TMap::ChipCount - 1);
        for (auto& c : State.TheMap->Cells) c = uint8_t(chip(rng));
        MenuClick(State, tagGhost);
        MenuClick(State, tagCutAway);
        ResetViews(State);
        QCoreApplication::processEvents();
    }
};

TDenseEditor& DenseEditor() {
    static TDenseEditor* editor = new TDenseEditor;
    return *editor;
}

// 上の階層 / 下の階層 between levels 46 and 47 (the most drawn), as the menu runs them:
// the edit view with its ghost, the whole-map view cut at the new level, the info panel, and
// the changed windows painted.
void BM_LevelStepGhostCutOnScreen(benchmark::State& state) {
    TDenseEditor& e = DenseEditor();
    e.State.CurrentLevel = TMap::SizeZ - 1;
    MenuClick(e.State, tagDown);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        MenuClick(e.State, e.State.CurrentLevel == TMap::SizeZ - 1 ? tagDown : tagUp);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_LevelStepGhostCutOnScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

// One chip painted with the mouse on level 20 with the ghost and the cut-away on: both
// pictures redrawn where it changed and painted.
void BM_PaintOneCellGhostCutOnScreen(benchmark::State& state) {
    TDenseEditor& e = DenseEditor();
    TForm2* view = e.Set.Form2;
    e.State.CurrentLevel = 20;
    e.Set.Form2->RedrawLevel();
    e.Set.Form3->RedrawAll();
    view->ScrollToCell(10, 6);
    QCoreApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        PressCell(e.State, view, i++);
        QCoreApplication::processEvents();
    }
    e.State.TheMap->UndoBuf.Reset();
}
BENCHMARK(BM_PaintOneCellGhostCutOnScreen)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same painted chip with the problems panel shown (a finding in nearly every cell): the
// list brought up to the map as after each round of events, its rows and title shown anew.
void BM_PaintOneCellProblemsOnScreen(benchmark::State& state) {
    TDenseEditor& e = DenseEditor();
    TForm2* view = e.Set.Form2;
    e.State.CurrentLevel = 20;
    MenuClick(e.State, tagProblems);
    e.Set.Problems->ListView1->scrollTo(
        e.Set.Problems->ListView1->model()->index(TMap::Index(10, 6, 20), 0));
    QCoreApplication::processEvents();
    int i = 0;
    double refresh = 0, events = 0; // nanoseconds: the list's update, then the painting
    for (auto _ : state) {
        PressCell(e.State, view, i++);
        QElapsedTimer clock;
        clock.start();
        e.Set.Problems->Refresh();
        refresh += double(clock.nsecsElapsed());
        clock.restart();
        QCoreApplication::processEvents();
        events += double(clock.nsecsElapsed());
    }
    state.counters["refresh_us"] = refresh / 1000.0 / double(state.iterations());
    state.counters["events_us"] = events / 1000.0 / double(state.iterations());
    state.counters["findings"] = double(e.Set.Problems->Problems().Findings().size());
    MenuClick(e.State, tagProblems);
    e.State.TheMap->UndoBuf.Reset();
}
BENCHMARK(BM_PaintOneCellProblemsOnScreen)->Unit(benchmark::kMicrosecond)->UseRealTime();

// BM_PaintOneCellGhostCutOnScreen with 変更箇所を表示 on: the changed cells taken anew and
// their outlines drawn over the painted parts. range(0) 0: the map was just saved (few
// outlines); 1: a new map's baseline, every cell of the dense map outlined.
void BM_PaintOneCellChangesOnScreen(benchmark::State& state) {
    TDenseEditor& e = DenseEditor();
    TForm2* view = e.Set.Form2;
    e.State.CurrentLevel = 20;
    std::unique_ptr<TMap> kept;
    if (state.range(0) == 0) {
        KeepBaseline(e.State);
    } else {
        kept = std::move(e.State.Baseline);
        e.State.Baseline.reset(); // the empty map
    }
    MenuClick(e.State, tagChanges);
    e.Set.Form2->RedrawLevel();
    e.Set.Form3->RedrawAll();
    view->ScrollToCell(10, 6);
    QCoreApplication::processEvents();
    int i = 0;
    size_t outlined = 0;
    for (auto _ : state) {
        PressCell(e.State, view, i++);
        QCoreApplication::processEvents();
        outlined = e.Set.Form3->Outlined().size();
    }
    state.counters["outlined"] = double(outlined);
    MenuClick(e.State, tagChanges);
    if (kept) e.State.Baseline = std::move(kept);
    e.State.TheMap->UndoBuf.Reset();
    QCoreApplication::processEvents();
}
BENCHMARK(BM_PaintOneCellChangesOnScreen)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// The whole 2048 x 1040 picture turned into screen colours.
void BM_DisplayConversion(benchmark::State& state) {
    TDemoEditor& e = Editor();
    e.Set.Form2->RedrawLevel();
    TIndexedImage wrap;
    QImage screen(2048, 1040, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&screen);
        p.drawImage(0, 0, wrap.Wrap(e.Set.Form2->Picture().Picture));
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_DisplayConversion)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TApplication app(argc, argv);
    // The 表示 options the benchmarks turn on are kept in a settings folder of their own, not
    // in the user's: every run starts with them off.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
