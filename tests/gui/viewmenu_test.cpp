// The 表示 menu: its items and check marks, the options kept per user, the ghost and the
// cut-away as the views show them, the cell under the pointer in the whole-map view, and the
// cells changed since the last save as `quarvel-cli diff` lists them.
#include "app/Form_Main.h"
#include "editor/commands.h"
#include "editor/global.h"
#include "graphics/chipsheet.h"
#include "map/chipclasses.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "tests/testutil.h"
#include "views/Form_Edit.h"
#include "views/Form_Info.h"
#include "views/Form_View.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPaintEvent>
#include <QSettings>
#include <QToolTip>
#include <QtTest>
#include <random>
#include <sstream>
#include <sys/stat.h>

using namespace quarvel;
using namespace quarvel::test;

namespace {

bool SamePixels(const TBMP256& a, const TBMP256& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Bits(), a.Bits() + size_t(a.Width()) * size_t(a.Height()), b.Bits());
}

// Every level half full of random chips 1..167.
void FillRandom(TMap& map, std::mt19937& rng) {
    std::uniform_int_distribution<int> chip(1, TMap::ChipCount - 1), coin(0, 1);
    for (int z = 0; z < TMap::SizeZ; ++z)
        for (int y = 0; y < TMap::SizeY; ++y)
            for (int x = 0; x < TMap::SizeX; ++x)
                map.SetChip(x, y, z, coin(rng) ? uint8_t(chip(rng)) : 0);
}

// What the views would draw without the editor: the level, with or without the ghost, and
// the stack up to `top`.
TBMP256 EditReference(const TEditorState& s, bool ghost) {
    TEditPicture p;
    p.Attach(s.TheMap, s.ChipSheet[0], s.TransparentIndex);
    p.SetZoom(s.Windows.Edit->GetZoom());
    p.SetGhost(ghost);
    p.RedrawLevel(s.CurrentLevel);
    return p.Picture;
}
TBMP256 WholeReference(const TEditorState& s, int top) {
    TWholePicture p;
    p.Attach(s.TheMap, s.ChipSheet[0], s.TransparentIndex);
    p.SetZoom(s.Windows.Whole->GetZoom());
    p.SetTop(top);
    p.RedrawAll();
    return p.Picture;
}

// The user's settings file under the test's settings folder (named, not opened: a pipe
// there would keep an opening QSettings waiting).
QString SettingsFolder;
QString SettingsFile() {
    return SettingsFolder + "/quarvel/quarvel.ini";
}

void Hover(TForm3* v, QPoint at) {
    SendMouse(v->PaintBox1, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}

QPoint FaceCentre(int x, int y, int z) {
    Point p = WholeCellToPixel(x, y, z, 0);
    return QPoint(p.x + 32, p.y + 16);
}

// The cells `quarvel-cli diff` lists between the map file `before` and the editor's map (its
// file bytes written beside it), as TMap::Index values in its order.
std::vector<int32_t> DiffCells(const TMap& map, const std::string& before) {
    const std::string now = before + ".now";
    map.WriteToFile(now);
    const RunResult r = RunCli("diff '" + before + "' '" + now + "'");
    std::vector<int32_t> cells;
    if (r.Status != 0) cells.push_back(-1);
    std::istringstream lines(r.Out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("name:", 0) == 0 || line.rfind("terrain:", 0) == 0) continue;
        int x = -1, y = -1, z = -1;
        std::istringstream(line) >> x >> y >> z;
        cells.push_back(TMap::Inside(x, y, z) ? TMap::Index(x, y, z) : -1);
    }
    return cells;
}

// The parts of a widget painted while it watches.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget* w) : Widget(w) { w->installEventFilter(this); }
    ~PaintSpy() override { Widget->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) Region += static_cast<QPaintEvent*>(e)->region();
        return false;
    }
    QWidget* Widget;
    QRegion Region;
};

// One random edit through the editor's own controls: drawing, erasing and filling with the
// mouse, deleting a selected box, shaping, and (with `undo`) undo and redo.
void RandomEdit(TEditor& e, std::mt19937& rng, bool undo) {
    TEditorState& s = e.State;
    QWidget* box = e.Set->Form2->PaintBox1;
    std::uniform_int_distribution<int> cell(0, 31), chip(1, TMap::ChipCount - 1);
    const auto at = [&] { return EditCellCentre(cell(rng), cell(rng)); };
    switch (std::uniform_int_distribution<int>(0, undo ? 8 : 5)(rng)) {
    case 0:
    case 1:
        s.CurrentChip = uint8_t(chip(rng));
        Drag(box, {at(), at(), at()}, Qt::LeftButton);
        break;
    case 2:
        Drag(box, {at(), at()}, Qt::RightButton);
        break;
    case 3:
        s.CurrentChip = uint8_t(chip(rng) % 25);
        Drag(box, {at()}, Qt::LeftButton, Qt::ShiftModifier);
        break;
    case 4:
        Drag(box, {at(), at()}, Qt::LeftButton, Qt::ControlModifier);
        e.Set->Form1->MenuItem("DELETE1")->trigger();
        break;
    case 5:
        e.Set->Form1->MenuItem("FIX1")->trigger();
        break;
    case 6:
        e.Set->Form1->MenuItem(rng() % 2 ? "UP1" : "DOWN1")->trigger();
        break;
    case 7:
        e.Set->Form1->MenuItem("UNDO1")->trigger();
        break;
    default:
        e.Set->Form1->MenuItem("REDO1")->trigger();
        break;
    }
}

} // namespace

class ViewMenuTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void menuAfterToolsWithEveryItemOff();
    void ghostAndCutAwayFollowEveryLevelChange();
    void optionsAreKeptOnlyOnceChanged();
    void hostileSettingsFileIsLeftAlone();
    void hoverOutlinesTheCellAClickWouldPick();
    void changedCellsAreThoseTheCliDiffLists();

private:
    QTemporaryDir Settings;
};

void ViewMenuTest::init() {
    // Each case starts with a user who never changed an option.
    SettingsFolder = Settings.path();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, SettingsFolder);
    QFile::remove(SettingsFile());
}

void ViewMenuTest::menuAfterToolsWithEveryItemOff() {
    TEditor e;
    QStringList titles;
    for (QAction* a : e.Set->Form1->menuBar()->actions()) titles << a->text();
    QCOMPARE(titles, QStringList({"ファイル(&F)", "編集(&E)", "操作(&O)", "ウィンドウ(&W)",
                                  "ツール(&T)", "表示(&V)"}));
    QStringList items;
    for (QAction* a : e.Set->Form1->MenuItem("VIEW1")->menu()->actions()) {
        items << a->text();
        QVERIFY(a->isCheckable());
        QVERIFY(!a->isChecked());
    }
    QCOMPARE(items, QStringList({"下の階層を薄く表示-編集(&G)", "上の階層を隠す-全体(&K)",
                                 "ポインタの下のセルを表示-全体(&H)", "変更箇所を表示(&M)",
                                 "問題の一覧(&P)"}));
    // Each item flips its mark; the state and the mark go together.
    QAction* ghost = e.Set->Form1->MenuItem("GHOST1");
    ghost->trigger();
    QVERIFY(ghost->isChecked() && e.State.View.Ghost);
    ghost->trigger();
    QVERIFY(!ghost->isChecked() && !e.State.View.Ghost);
}

void ViewMenuTest::ghostAndCutAwayFollowEveryLevelChange() {
    TEditor e;
    TEditorState& s = e.State;
    std::mt19937 rng(19);
    FillRandom(*s.TheMap, rng);
    s.CurrentLevel = 5;
    s.Windows.Edit->RedrawLevel();
    s.Windows.Whole->RedrawAll();
    const TBMP256 plainEdit = e.Set->Form2->Picture().Picture;
    const TBMP256 plainWhole = e.Set->Form3->Picture().Picture;
    // All off: the pictures are those of the views without the options.
    QVERIFY(SamePixels(plainEdit, EditReference(s, false)));
    QVERIFY(SamePixels(plainWhole, WholeReference(s, TMap::SizeZ - 1)));

    e.Set->Form1->MenuItem("GHOST1")->trigger();
    e.Set->Form1->MenuItem("CUTAWAY1")->trigger();
    QVERIFY(!SamePixels(e.Set->Form2->Picture().Picture, plainEdit));
    // Level commands, the panel's level list, steps that keep the selection, and picks.
    std::uniform_int_distribution<int> what(0, 4), cell(0, 31), level(0, 47);
    for (int step = 0; step < 40; ++step) {
        switch (what(rng)) {
        case 0:
            e.Set->Form1->MenuItem("UP1")->trigger();
            break;
        case 1:
            e.Set->Form1->MenuItem("DOWN1")->trigger();
            break;
        case 2:
            e.Set->Form1->MenuItem(level(rng) % 2 ? "UP2" : "DOWN2")->trigger();
            break;
        case 3:
            emit e.Set->Form4->ComboBox2->activated(level(rng));
            break;
        default: {
            const QPoint at = FaceCentre(cell(rng), cell(rng), level(rng));
            SendMouse(e.Set->Form3->PaintBox1, QEvent::MouseButtonPress, at, Qt::LeftButton,
                      Qt::LeftButton);
            break;
        }
        }
        QVERIFY2(SamePixels(e.Set->Form3->Picture().Picture, WholeReference(s, s.CurrentLevel)),
                 qPrintable(QString("step %1, level %2").arg(step).arg(s.CurrentLevel)));
        QVERIFY(SamePixels(e.Set->Form2->Picture().Picture, EditReference(s, true)));
    }
    // Painting with both on redraws one cell as the whole pictures would draw it.
    s.CurrentChip = 20;
    const QPoint at = EditCellCentre(7, 9);
    Drag(e.Set->Form2->PaintBox1, {at}, Qt::LeftButton);
    QCOMPARE(int(s.TheMap->GetChip(7, 9, s.CurrentLevel)), 20);
    QVERIFY(SamePixels(e.Set->Form2->Picture().Picture, EditReference(s, true)));
    QVERIFY(SamePixels(e.Set->Form3->Picture().Picture, WholeReference(s, s.CurrentLevel)));

    // Both off again: the pictures are the plain ones of this level.
    e.Set->Form1->MenuItem("GHOST1")->trigger();
    e.Set->Form1->MenuItem("CUTAWAY1")->trigger();
    QVERIFY(SamePixels(e.Set->Form2->Picture().Picture, EditReference(s, false)));
    QVERIFY(SamePixels(e.Set->Form3->Picture().Picture, WholeReference(s, TMap::SizeZ - 1)));
}

void ViewMenuTest::optionsAreKeptOnlyOnceChanged() {
    {
        TEditor e;
        e.Set->Form1->MenuItem("UP1")->trigger();
    }
    QVERIFY2(!QFile::exists(SettingsFile()), "nothing written while no option changed");
    {
        TEditor e;
        e.Set->Form1->MenuItem("GHOST1")->trigger();
        e.Set->Form1->MenuItem("HOVER1")->trigger();
        e.Set->Form1->MenuItem("CUTAWAY1")->trigger();
        e.Set->Form1->MenuItem("CUTAWAY1")->trigger(); // on and off again
    }
    QVERIFY(QFile::exists(SettingsFile()));
    TEditor e;
    QVERIFY(e.State.View.Ghost && !e.State.View.CutAway && e.State.View.Hover);
    QVERIFY(e.Set->Form1->MenuItem("GHOST1")->isChecked());
    QVERIFY(!e.Set->Form1->MenuItem("CUTAWAY1")->isChecked());
    QVERIFY(e.Set->Form1->MenuItem("HOVER1")->isChecked());
    // The first picture already shows the ghost.
    e.State.TheMap->SetChip(3, 3, 0, 20);
    e.State.CurrentLevel = 1;
    e.Set->Form2->RedrawLevel();
    QVERIFY(SamePixels(e.Set->Form2->Picture().Picture, EditReference(e.State, true)));
    QVERIFY(!SamePixels(e.Set->Form2->Picture().Picture, EditReference(e.State, false)));
}

void ViewMenuTest::hostileSettingsFileIsLeftAlone() {
    // A pipe in the settings' place (a read would wait for ever) and a huge file.
    QDir().mkpath(QFileInfo(SettingsFile()).path());
    const QByteArray name = QFile::encodeName(SettingsFile());
    QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    {
        TEditor e;
        QVERIFY(!e.State.View.Ghost);
        e.Set->Form1->MenuItem("CUTAWAY1")->trigger();
        QVERIFY(e.State.View.CutAway);
    }
    struct stat st;
    QVERIFY(::stat(name.constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    QFile::remove(SettingsFile());
    // The same in the place of the settings the whole organisation shares.
    const QByteArray shared = QFile::encodeName(SettingsFolder + "/quarvel.ini");
    QCOMPARE(::mkfifo(shared.constData(), 0600), 0);
    {
        TEditor e;
        e.Set->Form1->MenuItem("CUTAWAY1")->trigger();
        QVERIFY(e.State.View.CutAway);
    }
    QFile::remove(QFile::decodeName(shared));
    QFile big(SettingsFile());
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write("[View]\nGhostBelow=true\n");
    big.write(QByteArray(1 << 20, '\n'));
    big.close();
    const qint64 size = QFileInfo(SettingsFile()).size();
    {
        TEditor e;
        QVERIFY(!e.State.View.Ghost);
        e.Set->Form1->MenuItem("HOVER1")->trigger();
    }
    QCOMPARE(QFileInfo(SettingsFile()).size(), size);

    // A settings file the user made read-only stays as it is; one reached through a link is
    // replaced as a whole behind the link, keeping the other settings in it.
    QFile::remove(SettingsFile());
    const QByteArray kept = "[Other]\nKeep=1\n";
    const QString real = SettingsFolder + "/elsewhere.ini";
    QFile file(real);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kept) == kept.size());
    file.close();
    QVERIFY(QFile::link(real, SettingsFile()));
    QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::ReadGroup));
    {
        TEditor e;
        e.Set->Form1->MenuItem("GHOST1")->trigger();
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), kept);
    file.close();
    QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner));
    {
        TEditor e;
        e.Set->Form1->MenuItem("GHOST1")->trigger();
    }
    QVERIFY(QFileInfo(SettingsFile()).isSymLink());
    QSettings written(real, QSettings::IniFormat);
    QCOMPARE(written.value("Other/Keep").toInt(), 1);
    QVERIFY(written.value("View/GhostBelow").toBool());
}

void ViewMenuTest::hoverOutlinesTheCellAClickWouldPick() {
    TEditor e;
    TEditorState& s = e.State;
    TForm3* v = e.Set->Form3;
    s.TheMap->SetChip(12, 3, 5, 21);  // 石畳5
    s.TheMap->SetChip(12, 3, 9, 100); // hides it until the levels above 5 are cut away
    s.Windows.Whole->RedrawAll();
    const QPoint at = FaceCentre(12, 3, 5);
    // Off at first: nothing.
    Hover(v, at);
    QVERIFY(!v->Hovered().Shown);
    QVERIFY(v->PaintBox1->OverlayRect().isEmpty());

    e.Set->Form1->MenuItem("HOVER1")->trigger();
    e.Set->Form1->MenuItem("CUTAWAY1")->trigger();
    s.CursorX = 1;
    s.CursorY = 2;
    s.CurrentLevel = 5;
    LevelChanged(s);
    Hover(v, at);
    QVERIFY(v->Hovered().Shown);
    QCOMPARE(QString::fromUtf8(v->Hovered().Text.c_str()),
             QString::fromUtf8("X:12 Y:3 Z:5 ") + QString::fromUtf8(ChipNames[21]));
    QCOMPARE(QToolTip::text(), QString::fromUtf8(v->Hovered().Text.c_str()));
    QVERIFY(QToolTip::isVisible());
    // The cursor box is shown over the picture at the cell, not drawn into it.
    const Point p = WholeCellToPixel(12, 3, 5, 0);
    QCOMPARE(v->PaintBox1->OverlayRect(), QRect(p.x, p.y, 64, 48));
    const PaletteEntry line = s.ChipSheet[0]->GetPalette()[249];
    QCOMPARE(v->PaintBox1->grab(QRect(p.x, p.y + 20, 1, 1)).toImage().pixel(0, 0),
             qRgb(line.Red, line.Green, line.Blue));
    QVERIFY(SamePixels(v->Picture().Picture, WholeReference(s, 5)));
    // Hovering changes nothing of the editor.
    QCOMPARE(s.CursorX, 1);
    QCOMPARE(s.CursorY, 2);
    QCOMPARE(s.CurrentLevel, 5);

    // Without the cut-away the chip above is what a click would pick.
    e.Set->Form1->MenuItem("CUTAWAY1")->trigger();
    Hover(v, at + QPoint(0, -64));
    QCOMPARE(v->Hovered().Z, 9);
    // Leaving the view, or a spot with no chip on any level, shows nothing.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(v->PaintBox1, &leave);
    QVERIFY(!v->Hovered().Shown);
    QVERIFY(v->PaintBox1->OverlayRect().isEmpty());
    Hover(v, at + QPoint(0, -64));
    QTRY_VERIFY(QToolTip::isVisible());
    Hover(v, QPoint(5, 5));
    QVERIFY(!v->Hovered().Shown);
    QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 3000); // it fades out
    // Turned off, the view shows nothing where it showed the cell.
    Hover(v, at + QPoint(0, -64));
    QVERIFY(v->Hovered().Shown);
    e.Set->Form1->MenuItem("HOVER1")->trigger();
    QVERIFY(!v->Hovered().Shown);
    QVERIFY(v->PaintBox1->OverlayRect().isEmpty());
}

void ViewMenuTest::changedCellsAreThoseTheCliDiffLists() {
    TEditor e;
    TEditorState& s = e.State;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/";
    // A new map compares with the empty map 新規作成 makes.
    TMap empty;
    empty.Clear();
    empty.WriteToFile(folder + "empty.map");
    std::string before = folder + "empty.map";
    std::mt19937 rng(64);
    // The outlines of both views and the panel's count are those of the cells diff lists.
    const auto check = [&](const char* where, int step) {
        const std::vector<int32_t> cells = DiffCells(*s.TheMap, before);
        const QString context = QString("%1, step %2").arg(where).arg(step);
        QVERIFY2(std::find(cells.begin(), cells.end(), -1) == cells.end(), qPrintable(context));
        QVERIFY2(e.Set->Form3->Outlined() == cells, qPrintable(context));
        std::vector<int32_t> level;
        for (int32_t i : cells)
            if (i / TMap::LevelSize == s.CurrentLevel) level.push_back(i);
        QVERIFY2(e.Set->Form2->Outlined() == level, qPrintable(context));
        QCOMPARE(e.Set->Form4->Label8->text(),
                 QString::fromUtf8("変更 ") + QString::number(cells.size()));
    };

    // Off at first: edits outline nothing and the panel shows no count.
    for (int step = 0; step < 5; ++step) RandomEdit(e, rng, false);
    QVERIFY(e.Set->Form3->Outlined().empty() && e.Set->Form2->Outlined().empty());
    QVERIFY(e.Set->Form4->Label8->text().isEmpty());
    QVERIFY(!e.Set->Form2->PaintBox1->ComposeShown && !e.Set->Form3->PaintBox1->ComposeShown);

    e.Set->Form1->MenuItem("CHANGES1")->trigger();
    QVERIFY(s.View.Changes && e.Set->Form1->MenuItem("CHANGES1")->isChecked());
    check("turned on", 0);
    for (int step = 0; step < 30; ++step) {
        RandomEdit(e, rng, true);
        check("new map", step);
    }

    // The screen shows an outline pixel of a changed cell of the level in the outline colour.
    const std::vector<int32_t>& shown = e.Set->Form2->Outlined();
    QVERIFY(!shown.empty());
    const int32_t i = shown[shown.size() / 2];
    const Point corner = EditCellToPixel(i % 32, i / 32 % 32, 0);
    const Point dot = OutlinePixels(0).front();
    const QRect pixel(corner.x + dot.x, corner.y + dot.y, 1, 1);
    s.CursorX = (i % 32 + 16) % 32; // the cursor box away from it
    s.CursorY = (i / 32 % 32 + 16) % 32;
    s.Windows.Edit->PaintView();
    const Palette& pal = e.Set->Form2->Picture().Picture.GetPalette();
    const PaletteEntry line = pal[NearestIndex(pal, OutlineColor)];
    QCOMPARE(e.Set->Form2->PaintBox1->grab(pixel).toImage().pixel(0, 0),
             qRgb(line.Red, line.Green, line.Blue));

    // Saved, the map is the new baseline: nothing is outlined until it changes again.
    s.TheMap->FileName = folder + "saved.map";
    e.Set->Form1->MenuItem("SAVE1")->trigger();
    before = folder + "saved.map";
    QVERIFY(!s.TheMap->Modified);
    QVERIFY(e.Set->Form3->Outlined().empty());
    check("saved", 0);
    // A few cells drawn and saved again: the edit view repaints where their outlines were.
    s.Windows.Edit->ScrollToCell(4, 4);
    s.CurrentChip = 20;
    Drag(e.Set->Form2->PaintBox1, {EditCellCentre(3, 4), EditCellCentre(5, 4)}, Qt::LeftButton);
    QCoreApplication::processEvents();
    const std::vector<int32_t> wereOutlined = e.Set->Form2->Outlined();
    QVERIFY(!wereOutlined.empty() && wereOutlined.size() < 10);
    PaintSpy painted(e.Set->Form2->PaintBox1);
    e.Set->Form1->MenuItem("SAVE1")->trigger();
    QCoreApplication::processEvents();
    check("saved again", 0);
    const QRegion visible = e.Set->Form2->PaintBox1->visibleRegion();
    int seen = 0;
    for (const int32_t c : wereOutlined) {
        const Point p = EditCellToPixel(c % 32, c / 32 % 32, 0);
        for (const Point& d : OutlinePixels(0)) {
            const QPoint at(p.x + d.x, p.y + d.y);
            if (!visible.contains(at)) continue;
            ++seen;
            QVERIFY2(painted.Region.contains(at), qPrintable(QString("cell %1").arg(c)));
        }
    }
    QVERIFY(seen > 0);
    const int savedStep = s.TheMap->UndoBuf.Current;
    for (int step = 0; step < 15; ++step) {
        RandomEdit(e, rng, false);
        check("after the save", step);
    }
    // Undone back to the saved map: no outlines.
    while (s.TheMap->UndoBuf.Current > savedStep) e.Set->Form1->MenuItem("UNDO1")->trigger();
    check("undone to the save", 0);
    QVERIFY(e.Set->Form3->Outlined().empty());
    s.CursorX = (i % 32 + 16) % 32;
    s.CursorY = (i / 32 % 32 + 16) % 32;
    s.Windows.Edit->PaintView();
    const PaletteEntry plain = pal[e.Set->Form2->Picture().Picture.GetPixel(pixel.x(), pixel.y())];
    QCOMPARE(e.Set->Form2->PaintBox1->grab(pixel).toImage().pixel(0, 0),
             qRgb(plain.Red, plain.Green, plain.Blue));

    // Another file opened is the baseline; then a new map, with the empty map.
    TMap other;
    other.Clear();
    FillRandom(other, rng);
    other.WriteToFile(folder + "other.map");
    RandomEdit(e, rng, false);
    e.Messages.Answers = {mrNo, mrNo, mrNo};
    QVERIFY(OpenMapFile(s, folder + "other.map"));
    before = folder + "other.map";
    check("opened", 0);
    for (int step = 0; step < 5; ++step) {
        RandomEdit(e, rng, false);
        check("opened", step + 1);
    }
    e.Set->Form1->MenuItem("NEW1")->trigger();
    before = folder + "empty.map";
    check("new", 0);
    RandomEdit(e, rng, false);
    check("new", 1);

    // Off again: nothing outlined, no count, the pictures shown as they are.
    e.Set->Form1->MenuItem("CHANGES1")->trigger();
    QVERIFY(e.Set->Form3->Outlined().empty() && e.Set->Form2->Outlined().empty());
    QVERIFY(e.Set->Form4->Label8->text().isEmpty());
    QVERIFY(!e.Set->Form2->PaintBox1->ComposeShown && !e.Set->Form3->PaintBox1->ComposeShown);
}

QUARVEL_GUI_TEST_MAIN(ViewMenuTest)
#include "viewmenu_test.moc"
