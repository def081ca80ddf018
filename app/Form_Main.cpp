// TForm1: the main frame, its menu and dialogs, and the requests the editor makes of it.
#include "app/Form_Main.h"

#include "app/recentsettings.h"
#include "app/shortcutsettings.h"

#include "editor/commands.h"
#include "editor/global.h"
#include "editor/infopanel.h"
#include "editor/selectarea.h"
#include "editor/windowplace.h"
#include "views/Form_Edit.h"
#include "views/Form_Info.h"
#include "views/Unit5.h"
#include "views/Unit6.h"
#include "views/application.h"
#include "views/chipreplacedialog.h"
#include "views/commandpalette.h"
#include "views/dialogframe.h"
#include "views/selectionmovedialog.h"
#include "views/shortcutdialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

// One row of the menu: a title opens a menu, "-" is a separator, anything else a command. The
// captions are shown through the translations of the context "MainMenu".
struct MenuRow {
    const char* Name;
    const char* Caption;
    int Tag; // 0: none
    QList<QKeySequence> Keys;
    bool Title = false;
    bool Checkable = false;
    bool Moves = false; // the submenu of the selection box's one-step moves
};

// The platform's keys for a standard command; `usual` where the platform has none.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey standard, int usual) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    if (keys.isEmpty()) keys.append(QKeySequence(usual));
    return keys;
}

QList<MenuRow> MenuRows() {
    const auto key = [](int k) { return QKeySequence(k); };
    const int ctrl = int(Qt::CTRL);
    return {
        {"FILE1", QT_TRANSLATE_NOOP("MainMenu", "ファイル(&F)"), tagFile, {}, true},
        {"NEW1", QT_TRANSLATE_NOOP("MainMenu", "新規作成(&N)"), tagNew,
         StandardKeys(QKeySequence::New, ctrl | Qt::Key_N)},
        {"OPEN1", QT_TRANSLATE_NOOP("MainMenu", "開く(&O)..."), tagOpen,
         StandardKeys(QKeySequence::Open, ctrl | Qt::Key_O)},
        {"SAVE1", QT_TRANSLATE_NOOP("MainMenu", "上書き保存(&S)"), tagSave,
         StandardKeys(QKeySequence::Save, ctrl | Qt::Key_S)},
        {"SAVEAS1", QT_TRANSLATE_NOOP("MainMenu", "名前を付けて保存(&A)..."), tagSaveAs,
         StandardKeys(QKeySequence::SaveAs, ctrl | int(Qt::SHIFT) | Qt::Key_S)},
        {"SEPARATOR1", "-", tagSeparator1, {}},
        {"EXIT1", QT_TRANSLATE_NOOP("MainMenu", "終了(&X)"), tagExit,
         StandardKeys(QKeySequence::Quit, ctrl | Qt::Key_Q)},
        {"EDIT1", QT_TRANSLATE_NOOP("MainMenu", "編集(&E)"), tagEdit, {}, true},
        {"UNDO1", QT_TRANSLATE_NOOP("MainMenu", "元に戻す(&U)"), tagUndo, {key(ctrl | Qt::Key_Z)}},
        {"REDO1", QT_TRANSLATE_NOOP("MainMenu", "やり直し(&R)"), tagRedo, {key(ctrl | Qt::Key_Y)}},
        {"SEPARATOR2", "-", tagSeparator2, {}},
        {"CUT1", QT_TRANSLATE_NOOP("MainMenu", "切り取り(&T)"), tagCut, {key(ctrl | Qt::Key_X)}},
        {"COPY1", QT_TRANSLATE_NOOP("MainMenu", "コピー(&C)"), tagCopy, {key(ctrl | Qt::Key_C)}},
        {"PASTE1",
         QT_TRANSLATE_NOOP("MainMenu", "貼り付け(&P)"),
         tagPaste,
         {key(ctrl | Qt::Key_V)}},
        {"DELETE1", QT_TRANSLATE_NOOP("MainMenu", "削除(&L)"), tagDelete, {key(Qt::Key_Delete)}},
        {"SEPARATOR3", "-", tagSeparator3, {}},
        {"SELECT1",
         QT_TRANSLATE_NOOP("MainMenu", "すべて選択(&A)"),
         tagSelectAll,
         {key(ctrl | Qt::Key_A)}},
        {"N1", "-", tagNone, {}},
        {"SHIFT1", QT_TRANSLATE_NOOP("MainMenu", "マップをずらす..."), tagShift, {}},
        {"REPLACE2", QT_TRANSLATE_NOOP("MainMenu", "国の入れ替え..."), tagReplace, {}},
        {"MOVE1", QT_TRANSLATE_NOOP("MainMenu", "選択範囲を移動..."), tagMoveSelection, {}},
        {"MOVES1",
         QT_TRANSLATE_NOOP("MainMenu", "選択範囲を1マス移動"),
         tagNone,
         {},
         false,
         false,
         true},
        {"FIND1", QT_TRANSLATE_NOOP("MainMenu", "チップの置換(&F)..."), tagFindReplace, {}},
        {"OPERATION1", QT_TRANSLATE_NOOP("MainMenu", "操作(&O)"), tagOperation, {}, true},
        {"UP1", QT_TRANSLATE_NOOP("MainMenu", "上の階層(&U)"), tagUp, {key(Qt::Key_Up)}},
        {"DOWN1", QT_TRANSLATE_NOOP("MainMenu", "下の階層(&D)"), tagDown, {key(Qt::Key_Down)}},
        {"UP2",
         QT_TRANSLATE_NOOP("MainMenu", "選択したまま上の階層へ"),
         tagUpKeep,
         {key(int(Qt::SHIFT) | Qt::Key_Up)}},
        {"DOWN2",
         QT_TRANSLATE_NOOP("MainMenu", "選択したまま下の階層へ"),
         tagDownKeep,
         {key(int(Qt::SHIFT) | Qt::Key_Down)}},
        {"SEPARATOR4", "-", tagSeparator4, {}},
        {"PREV1", QT_TRANSLATE_NOOP("MainMenu", "チップ選択-前(&P)"), tagPrev, {key(Qt::Key_Left)}},
        {"NEXT1",
         QT_TRANSLATE_NOOP("MainMenu", "チップ選択-次(&N)"),
         tagNext,
         {key(Qt::Key_Right)}},
        {"SEPARATOR5", "-", tagSeparator5, {}},
        {"REFRESH1",
         QT_TRANSLATE_NOOP("MainMenu", "全体マップ更新(&R)"),
         tagRefresh,
         {key(Qt::Key_Return), key(Qt::Key_Enter)}},
        {"FIX1",
         QT_TRANSLATE_NOOP("MainMenu", "マップ整形(&F)"),
         tagFix,
         {key(ctrl | Qt::Key_Return), key(ctrl | Qt::Key_Enter)}},
        {"WINDOW1", QT_TRANSLATE_NOOP("MainMenu", "ウィンドウ(&W)"), tagWindow, {}, true},
        {"SWITCH1",
         QT_TRANSLATE_NOOP("MainMenu", "切り替え(&S)"),
         tagSwitch,
         {key(ctrl | Qt::Key_Tab)}},
        {"SEPARATOR6", "-", tagSeparator6, {}},
        {"CASCADE1", QT_TRANSLATE_NOOP("MainMenu", "重ねて表示(&C)"), tagCascade, {}},
        {"HTILE1", QT_TRANSLATE_NOOP("MainMenu", "上下に並べて表示(&H)"), tagHTile, {}},
        {"VTILE1", QT_TRANSLATE_NOOP("MainMenu", "左右に並べて表示(&V)"), tagVTile, {}},
        {"SEPARATOR7", "-", tagSeparator7, {}},
        {"EZOOM1", QT_TRANSLATE_NOOP("MainMenu", "縮小表示-編集(&X)"), tagEZoom, {}, false, true},
        {"VZOOM1", QT_TRANSLATE_NOOP("MainMenu", "縮小表示-全体(&Z)"), tagVZoom, {}, false, true},
        {"N3", "-", tagNone, {}},
        {"N4", QT_TRANSLATE_NOOP("MainMenu", "背景色変更-編集..."), tagNone, {}},
        {"N5", QT_TRANSLATE_NOOP("MainMenu", "背景色変更-全体..."), tagNone, {}},
        {"TOOL1", QT_TRANSLATE_NOOP("MainMenu", "ツール(&T)"), tagTool, {}, true},
        {"MAKE1", QT_TRANSLATE_NOOP("MainMenu", "DAT構築(&C)"), tagMake, {}},
        {"UNPACK1", QT_TRANSLATE_NOOP("MainMenu", "DAT分解(&U)"), tagUnpack, {}},
        {"SEARCH1",
         QT_TRANSLATE_NOOP("MainMenu", "コマンド検索(&K)..."),
         tagCommandSearch,
         {key(ctrl | int(Qt::SHIFT) | Qt::Key_P)}},
        {"KEYS1", QT_TRANSLATE_NOOP("MainMenu", "ショートカットの設定..."), tagShortcuts, {}},
        {"VIEW1", QT_TRANSLATE_NOOP("MainMenu", "表示(&V)"), tagView, {}, true},
        {"GHOST1",
         QT_TRANSLATE_NOOP("MainMenu", "下の階層を薄く表示-編集(&G)"),
         tagGhost,
         {},
         false,
         true},
        {"CUTAWAY1",
         QT_TRANSLATE_NOOP("MainMenu", "上の階層を隠す-全体(&K)"),
         tagCutAway,
         {},
         false,
         true},
        {"HOVER1",
         QT_TRANSLATE_NOOP("MainMenu", "ポインタの下のセルを表示-全体(&H)"),
         tagHover,
         {},
         false,
         true},
        {"CHANGES1",
         QT_TRANSLATE_NOOP("MainMenu", "変更箇所を表示(&M)"),
         tagChanges,
         {},
         false,
         true},
        {"PROBLEMS1",
         QT_TRANSLATE_NOOP("MainMenu", "問題の一覧(&P)"),
         tagProblems,
         {},
         false,
         true},
    };
}

// The moves of the selection box by one cell or one level, in their submenu.
QList<MenuRow> KeyRows() {
    const auto key = [](int k) { return QList<QKeySequence>{QKeySequence(k)}; };
    const int ctrlShift = int(Qt::CTRL | Qt::SHIFT);
    return {
        {"MOVELEFT", QT_TRANSLATE_NOOP("MainMenu", "左へ"), tagMoveLeft,
         key(ctrlShift | Qt::Key_Left)},
        {"MOVERIGHT", QT_TRANSLATE_NOOP("MainMenu", "右へ"), tagMoveRight,
         key(ctrlShift | Qt::Key_Right)},
        {"MOVEBACK", QT_TRANSLATE_NOOP("MainMenu", "奥へ"), tagMoveBack,
         key(ctrlShift | Qt::Key_Up)},
        {"MOVEFORWARD", QT_TRANSLATE_NOOP("MainMenu", "手前へ"), tagMoveForward,
         key(ctrlShift | Qt::Key_Down)},
        {"MOVEUP", QT_TRANSLATE_NOOP("MainMenu", "上の階層へ"), tagMoveUp,
         key(ctrlShift | Qt::Key_PageUp)},
        {"MOVEDOWN", QT_TRANSLATE_NOOP("MainMenu", "下の階層へ"), tagMoveDown,
         key(ctrlShift | Qt::Key_PageDown)},
    };
}

QString MenuText(const char* caption) {
    return QCoreApplication::translate("MainMenu", caption);
}

} // namespace

TViewOptions TViewSettings::Load() {
    TViewOptions options;
    ReadSettingsFile(UserSettingsFile("quarvel", "quarvel"), [&](QSettings& settings) {
        for (const ViewOptionRow& row : ViewOptionRows)
            options.*row.Member = settings.value(row.Key, false).toBool();
    });
    return options;
}

void TViewSettings::Save(ViewOption option, bool on) {
    // A pipe or huge file in the settings' place stays as it is, unread.
    WriteSettingsFile(UserSettingsFile("quarvel", "quarvel"),
                      [&](QSettings& settings) { settings.setValue(RowOf(option).Key, on); });
}

TForm1::TForm1(TEditorState& state) : State(state) {
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8(ApplicationTitle));
    Area = new QMdiArea(this);
    Area->setObjectName("MdiArea");
    setCentralWidget(Area);
    BuildMenu();
    move(0, 0);
    resize(640, 480 + menuBar()->sizeHint().height());
    qApp->installEventFilter(this);
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
    StopEditor(State);
}

void TForm1::SetPanels(TForm4* info, TForm2* edit) {
    Info = info;
    Edit = edit;
}

void TForm1::BuildMenu() {
    QMenu* menu = nullptr;
    for (const MenuRow& row : MenuRows()) {
        QAction* item;
        if (row.Title) {
            menu = menuBar()->addMenu(MenuText(row.Caption));
            item = menu->menuAction();
        } else if (row.Moves) {
            item = menu->addMenu(MenuText(row.Caption))->menuAction();
        } else if (QByteArray(row.Caption) == "-") {
            item = menu->addSeparator();
        } else {
            item = menu->addAction(MenuText(row.Caption));
            item->setShortcuts(row.Keys);
            item->setCheckable(row.Checkable);
            connect(item, &QAction::triggered, this, [this, item] { MenuTriggered(item); });
        }
        item->setObjectName(row.Name);
        item->setData(row.Tag);
        Items.append(item);
        ItemsByName.insert(row.Name, item);
        if (row.Moves) AddMoveItems(item->menu());
    }
    // 選択範囲を移動... and the one-step moves need a selection: they are greyed out while
    // there is none. The moves' keys work again once the menu has closed.
    QMenu* edit = ItemsByName.value("EDIT1")->menu();
    connect(edit, &QMenu::aboutToShow, this, [this] { UpdateMenuItems(); });
    connect(edit, &QMenu::aboutToHide, this, [this] { EnableMoveKeys(); });
    LoadShortcuts();
}

void TForm1::AddMoveItems(QMenu* menu) {
    for (const MenuRow& row : KeyRows()) {
        QAction* item = menu->addAction(MenuText(row.Caption));
        item->setObjectName(row.Name);
        item->setData(row.Tag);
        item->setShortcuts(row.Keys);
        addAction(item); // works wherever the menu's keys work
        connect(item, &QAction::triggered, this, [this, item] { MenuTriggered(item); });
        Items.append(item);
        ItemsByName.insert(row.Name, item);
    }
}

void TForm1::UpdateMenuItems() {
    const bool selection = State.TheSelection && State.TheSelection->Active;
    ItemsByName.value("MOVE1")->setEnabled(selection);
    for (const MenuRow& row : KeyRows()) ItemsByName.value(row.Name)->setEnabled(selection);
}

void TForm1::EnableMoveKeys() {
    for (const MenuRow& row : KeyRows()) ItemsByName.value(row.Name)->setEnabled(true);
}

QAction* TForm1::MenuItem(const QString& name) const {
    return ItemsByName.value(name);
}

QAction* TForm1::ItemByTag(int tag) const {
    for (QAction* item : Items)
        if (tag != 0 && item->data().toInt() == tag) return item;
    return nullptr;
}

void TForm1::MenuTriggered(QAction* item) {
    if (item->data().toInt() == tagCommandSearch) {
        RunCommandPalette();
        return;
    }
    History.Ran(item->objectName().toStdString());
    if (item->data().toInt() == tagShortcuts) {
        RunShortcutDialog();
        return;
    }
    if (item->isCheckable()) {
        // The command flips the check mark itself (SetMenuChecked); undo Qt's own flip.
        QSignalBlocker block(item);
        item->setChecked(!item->isChecked());
    }
    const QString name = item->objectName();
    const int tag = item->data().toInt();
    RunGuarded([&] {
        if (name == "SHIFT1" || name == "REPLACE2")
            SHIFT1Click(State, tag);
        else if (name == "N4")
            N4Click(State);
        else if (name == "N5")
            N5Click(State);
        else
            MenuClick(State, tag);
    });
    Progress.reset(); // an archive command that ended, also with an error
}

namespace {

// A caption as the menu shows it: without the '&' that marks a key ("&&" shows one '&').
QString ShownCaption(const QString& caption) {
    QString shown;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && ++i == caption.size()) break;
        shown += caption[i];
    }
    return shown;
}

} // namespace

QList<QAction*> TForm1::EnabledCommands() {
    UpdateMenuItems();
    QList<QAction*> commands;
    for (QAction* item : Items) {
        if (item->isSeparator() || item->menu() || !item->isEnabled() || !item->isVisible() ||
            item->data().toInt() == tagCommandSearch)
            continue;
        auto* owner = qobject_cast<QMenu*>(item->parent());
        if (owner && !owner->menuAction()->isEnabled()) continue;
        commands.append(item);
    }
    EnableMoveKeys();
    return commands;
}

QString TForm1::CommandCaption(QAction* item) const {
    QString caption = ShownCaption(item->text());
    // An item of a submenu inside a menu is shown with the submenu's caption.
    auto* owner = qobject_cast<QMenu*>(item->parent());
    if (owner && !menuBar()->actions().contains(owner->menuAction()))
        caption = ShownCaption(owner->title()) + " > " + caption;
    return caption;
}

void TForm1::RunCommandPalette() {
    QList<TCommandPalette::Command> commands;
    for (QAction* item : EnabledCommands())
        commands.append({item->objectName(), CommandCaption(item),
                         item->shortcut().toString(QKeySequence::NativeText)});
    TCommandPalette palette(this, commands, History.Names());
    if (palette.exec() != QDialog::Accepted) return;
    // The item itself is triggered, as a click on it would: a check item flips its mark, and
    // an item greyed out meanwhile does nothing.
    if (QAction* item = ItemsByName.value(palette.Chosen())) item->trigger();
}

void TForm1::LoadShortcuts() {
    std::vector<TShortcutCommand> commands;
    for (QAction* item : Items) {
        const bool title = menuBar()->actions().contains(item);
        if (item->isSeparator() || (item->menu() && !title)) continue;
        TShortcutCommand c{
            item->objectName().toStdString(), CommandCaption(item).toStdString(), {}};
        // A menu's Alt key opens the menu: no command can have it.
        const QList<QKeySequence> keys =
            title ? QList<QKeySequence>{QKeySequence::mnemonic(item->text())} : item->shortcuts();
        c.Fixed = title;
        for (const QKeySequence& key : keys)
            if (!key.isEmpty())
                c.Defaults.push_back(key.toString(QKeySequence::PortableText).toStdString());
        commands.push_back(c);
    }
    Keys = TShortcutTable(commands);
    const TKeptShortcuts kept = ReadShortcuts();
    for (const std::string& name : Keys.Load(kept, CanonicalKey))
        std::fprintf(stderr, "quarvel: the key kept for %s cannot be used; it has its own keys\n",
                     name.c_str());
    ApplyShortcuts();
}

void TForm1::ApplyShortcuts() {
    for (size_t i = 0; i < Keys.Size(); ++i)
        if (QAction* item = ItemsByName.value(QString::fromStdString(Keys.Command(i).Name));
            item && !Keys.Command(i).Fixed)
            item->setShortcuts(KeySequences(Keys.Keys(i)));
}

void TForm1::RunShortcutDialog() {
    TShortcutDialog dialog(this, Keys);
    if (dialog.exec() != QDialog::Accepted) return;
    Keys = dialog.Table();
    ApplyShortcuts();
    WriteShortcuts(Keys.Changes());
}

void TForm1::SetCaption(const std::string& text) {
    setWindowTitle(QString::fromUtf8(text.c_str()));
}

std::string TForm1::RunFileDialog(bool save, const std::string& at) {
    QFileDialog dialog(this, save ? QCoreApplication::translate("Form1", "名前を付けて保存")
                                  : QCoreApplication::translate("Form1", "開く"));
    // The maps live in the program folder, whatever folder the program was started from.
    dialog.setDirectory(QFile::decodeName(QByteArray::fromStdString(State.ProgramFolder + "map")));
    if (!at.empty()) {
        const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(at)));
        if (file.dir().exists()) dialog.setDirectory(file.dir());
        dialog.selectFile(file.fileName());
    }
    dialog.setNameFilter(QCoreApplication::translate("Form1", "Quarvelマップファイル(*.map)"));
    dialog.setDefaultSuffix("map");
    if (save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile); // asks before overwriting
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

std::string TForm1::RunOpenDialog() {
    return RunFileDialog(false);
}
std::string TForm1::RunSaveDialog() {
    return RunFileDialog(true);
}
std::string TForm1::RunSaveDialogAt(const std::string& name) {
    return RunFileDialog(true, name);
}

bool TForm1::RunColorDialog(TColor& color) {
    QColor start(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
    QColor chosen = QColorDialog::getColor(start, this);
    if (!chosen.isValid()) return false;
    color = RGBColor(uint8_t(chosen.red()), uint8_t(chosen.green()), uint8_t(chosen.blue()));
    return true;
}

int TForm1::RunShiftDialog() {
    // A fresh dialog for each use, so that its edits start at "0".
    auto dialog = std::make_unique<TForm5>(State, this);
    return dialog->exec();
}

int TForm1::RunSwapDialog() {
    auto dialog = std::make_unique<TForm6>(State, this);
    return dialog->exec();
}

bool TForm1::RunMoveDialog(MoveOffsets& offsets) {
    auto dialog = std::make_unique<TSelectionMoveDialog>(this, offsets);
    if (dialog->exec() != 1) return false;
    offsets = dialog->Offsets();
    return true;
}

ReplaceAction TForm1::RunReplaceDialog(ReplaceChoices& choices) {
    auto dialog = std::make_unique<TChipReplaceDialog>(State, this, choices);
    const int result = dialog->exec();
    choices = dialog->Choices();
    return result == TChipReplaceDialog::ReplaceResult    ? ReplaceAction::Replace
           : result == TChipReplaceDialog::FindNextResult ? ReplaceAction::FindNext
                                                          : ReplaceAction::Cancel;
}

void TForm1::Maximize() {
    // The frame takes the screen's working area at once, so that the windows arranged next
    // are placed in the maximised client area; a window manager applies the state later.
    if (QScreen* s = screen()) setGeometry(s->availableGeometry());
    showMaximized();
    if (layout()) layout()->activate();
}
void TForm1::NextChild() {
    Area->activateNextSubWindow();
}
void TForm1::Cascade() {
    // Like an MDI frame's cascade: each child one title bar further down and right, all the
    // same size, the size left when a third of the height's worth of steps is taken off.
    const QList<QMdiSubWindow*> children = ArrangedChildren(QMdiArea::StackingOrder);
    if (children.isEmpty()) return;
    QMdiSubWindow* first = children.first();
    QStyleOptionTitleBar option;
    option.initFrom(first);
    const int step = std::max(
        8, first->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, first) +
               first->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, first));
    const QRect area = Area->viewport()->rect();
    const int steps = area.height() / (3 * step);
    const QSize size(std::max(area.width() - steps * step, first->minimumSizeHint().width()),
                     std::max(area.height() - steps * step, first->minimumSizeHint().height()));
    for (int i = 0; i < int(children.size()); ++i) {
        QMdiSubWindow* sub = children[i];
        if (sub->isMaximized()) sub->showNormal();
        const int offset = step * (i % (steps + 1));
        sub->setGeometry(QRect(QPoint(offset, offset), size));
        sub->raise();
    }
}
QList<QMdiSubWindow*> TForm1::ArrangedChildren(QMdiArea::WindowOrder order) {
    // The views are only ever minimised, never closed: arranging brings minimised ones back,
    // so that no view is left behind another one's bar.
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* sub : Area->subWindowList(order)) {
        if (sub->isHidden()) continue;
        if (sub->isMinimized()) sub->showNormal();
        children.append(sub);
    }
    return children;
}

void TForm1::TileHorizontal() {
    Tile(true);
}
void TForm1::TileVertical() {
    Tile(false);
}

void TForm1::Tile(bool oneAboveTheOther) {
    const QList<QMdiSubWindow*> children = ArrangedChildren(QMdiArea::CreationOrder);
    if (children.isEmpty()) return;
    const QRect area = Area->viewport()->rect();
    const int n = int(children.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* sub = children[i];
        if (sub->isMaximized()) sub->showNormal();
        QRect r;
        if (oneAboveTheOther) {
            int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
            r = QRect(0, top, area.width(), bottom - top);
        } else {
            int left = area.width() * i / n, right = area.width() * (i + 1) / n;
            r = QRect(left, 0, right - left, area.height());
        }
        sub->setGeometry(r);
    }
}

void TForm1::SetMenuChecked(int tag, bool checked) {
    if (QAction* item = ItemByTag(tag)) {
        QSignalBlocker block(item);
        item->setChecked(checked);
    }
}

bool TForm1::IsMenuChecked(int tag) const {
    QAction* item = ItemByTag(tag);
    return item && item->isChecked();
}

void TForm1::PlaceInfoPanel() {
    PlacePanelBesideEditView();
    PanelFollows = true;
    QTimer::singleShot(1000, this, [this] { PanelFollows = false; });
    // On another screen, or when the working area changes, it is placed again.
    QWindow* handle = windowHandle();
    if (!handle || ScreenWatched) return;
    ScreenWatched = true;
    const auto follow = [this](QScreen* s) {
        disconnect(ScreenAreaWatch);
        if (s)
            ScreenAreaWatch = connect(s, &QScreen::availableGeometryChanged, this,
                                      [this] { PlacePanelBesideEditView(); });
    };
    connect(handle, &QWindow::screenChanged, this, [this, follow](QScreen* s) {
        follow(s);
        PlacePanelBesideEditView();
    });
    follow(handle->screen());
}

void TForm1::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    if (PanelFollows) PlacePanelBesideEditView();
}

void TForm1::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (PanelFollows) PlacePanelBesideEditView();
}

void TForm1::PlacePanelBesideEditView() {
    if (!Info || !Edit || !Edit->SubWindow()) return;
    // Beside the edit view on the screen: its right edge, its top; then whole on the screen.
    QMdiSubWindow* sub = Edit->SubWindow();
    const QPoint topLeft = sub->mapToGlobal(QPoint(0, 0));
    // The panel's outer frame, title bar included; until the window manager has framed it,
    // a title bar of the style's height is allowed for.
    QSize frame = Info->frameGeometry().size();
    if (frame == Info->size()) frame.rheight() += style()->pixelMetric(QStyle::PM_TitleBarHeight);
    QRect area(topLeft, QSize(sub->width() + frame.width(), std::max(frame.height(), 1)));
    if (QScreen* s = screen()) area = s->availableGeometry();
    const ScreenPoint at =
        InfoPanelPlace({topLeft.x(), topLeft.y(), sub->width(), sub->height()}, frame.width(),
                       frame.height(), {area.x(), area.y(), area.width(), area.height()});
    Info->move(at.X, at.Y);
}

void TForm1::Terminate() {
    Terminating = true;
    // Ends a running message loop; before the loop runs, main checks the flag instead (an
    // exit request then would end the first modal dialog's loop at once).
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

int TForm1::Show(const std::string& text, const std::string& caption, MsgButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption.c_str()),
                    QString::fromUtf8(text.c_str()), QMessageBox::NoButton, this);
    if (buttons == MsgButtons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("Form1", "はい(&Y)"));
        box.button(QMessageBox::No)->setText(QCoreApplication::translate("Form1", "いいえ(&N)"));
        box.button(QMessageBox::Cancel)
            ->setText(QCoreApplication::translate("Form1", "キャンセル"));
    } else if (buttons == MsgButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("Form1", "はい(&Y)"));
        box.button(QMessageBox::No)->setText(QCoreApplication::translate("Form1", "いいえ(&N)"));
        // Escape or the close button is no choice (it must not pick いいえ).
        QAbstractButton* none = box.addButton(QMessageBox::Cancel);
        none->hide();
        box.setEscapeButton(none);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    FitMessageBox(box);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    case QMessageBox::Ok:
        return mrOk;
    default:
        return buttons == MsgButtons::Ok ? mrOk : mrCancel;
    }
}

void TForm1::ShowProgress(size_t done, size_t total) {
    constexpr size_t ShortList = 300; // a few hundred maps pack before a dialog would be seen
    if (total <= ShortList) return;
    if (!Progress) {
        Progress = std::make_unique<QProgressDialog>(this);
        Progress->setWindowTitle(QString::fromUtf8(ApplicationTitle));
        Progress->setLabelText(QCoreApplication::translate("Form1", "処理中..."));
        Progress->setCancelButton(nullptr);
        Progress->setWindowModality(Qt::ApplicationModal);
        Progress->setMinimumDuration(500);
        Progress->setAutoClose(false);
        Progress->setAutoReset(false);
        Progress->setRange(0, int(std::min<size_t>(total, 1u << 30)));
    }
    Progress->setValue(int(std::min<size_t>(done, 1u << 30)));
    if (done >= total) Progress.reset();
}

void TForm1::closeEvent(QCloseEvent* e) {
    bool mayClose = true;
    if (State.TheMap && !Terminating) {
        mayClose = false;
        // A save that fails shows its error and keeps the program running.
        RunGuarded([&] { mayClose = FormClose(State); });
    }
    if (!mayClose) {
        e->ignore();
        return;
    }
    e->accept();
    // The frame's close ends the program. Qt's own ending after the last window would close
    // every window first, and the info panel refuses that: it would keep the program running.
    if (Info) Info->hide();
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && Info && watched->isWidgetType()) {
        // While one of the panel's lists is open, it takes every key (the list itself still
        // sees this event): Return there chooses an item and must not also run
        // 全体マップ更新, an arrow moves in the list and not through the levels.
        const QWidget* popup = QApplication::activePopupWidget();
        if (popup && popup->parentWidget() && popup->parentWidget()->window() == Info) {
            event->accept();
            return false;
        }
    }
    if (event->type() == QEvent::ShortcutOverride && Info && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == Info) {
        if (watched == Info->Edit1 && Info->isActiveWindow()) {
            event->accept(); // the key goes to the name box
            return true;
        }
        // The panel's other controls leave every key to the menu.
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace quarvel
