// The language of the editor's texts: chosen from the desktop's languages, forced by the
// environment or the user's settings.
#include "app/Form_Main.h"
#include "app/language.h"
#include "app/recentsettings.h"
#include "editor/chipreplace.h"
#include "editor/commands.h"
#include "editor/diskfile.h"
#include "editor/errortext.h"
#include "editor/recovery.h"
#include "editor/selectarea.h"
#include "editor/selectionmove.h"
#include "map/mapclass.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Info.h"
#include "views/problemspanel.h"
#include "views/translations.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <sys/stat.h>

using namespace quarvel;
using namespace quarvel::test;

namespace {

constexpr TextLanguage En = TextLanguage::English, Ja = TextLanguage::Japanese;

void WriteSettings(const QByteArray& text) {
    const QString file = UserSettingsFile("quarvel", "quarvel");
    QDir().mkpath(QFileInfo(file).path());
    QFile::remove(file);
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

// Kana, kanji and the full-width forms: what an English reader cannot read.
bool HasJapanese(const QString& text) {
    for (const char32_t c : text.toUcs4())
        if ((c >= 0x3000 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) ||
            (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
            (c >= 0xFF00 && c <= 0xFFEF))
            return true;
    return false;
}

// Every text a widget and its children show: titles, captions, list items, tool tips, the
// menus' items.
QStringList ShownTexts(QWidget* top) {
    QStringList texts;
    QList<QWidget*> widgets = top->findChildren<QWidget*>();
    widgets.prepend(top);
    for (QWidget* w : widgets) {
        texts << w->windowTitle() << w->toolTip();
        if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text();
        if (auto* e = qobject_cast<QLineEdit*>(w)) texts << e->text() << e->placeholderText();
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
        if (auto* t = qobject_cast<QTreeWidget*>(w))
            for (int i = 0; i < t->topLevelItemCount(); ++i)
                for (int k = 0; k < t->columnCount(); ++k) texts << t->topLevelItem(i)->text(k);
        if (auto* m = qobject_cast<QMessageBox*>(w)) texts << m->text() << m->informativeText();
        if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model())
            for (int r = 0; r < v->model()->rowCount(); ++r)
                texts << v->model()->index(r, 0).data().toString();
        for (QAction* a : w->actions()) texts << a->text() << a->toolTip();
    }
    return texts;
}

// The texts of the modal dialog that `open` shows, closed again at once.
QStringList WhileModal(const std::function<void()>& open) {
    QStringList texts;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        seen = true;
        texts = ShownTexts(modal);
        if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
    });
    open();
    if (!seen) texts << "(no dialog opened)";
    return texts;
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        qunsetenv("QUARVEL_LANGUAGE");
        QFile::remove(UserSettingsFile("quarvel", "quarvel"));
    }
    void choiceFollowsTheFirstUiLanguage();
    void environmentAndSettingForceEither();
    void englishEditorShowsNoJapanese();
};

// The desktop's first UI language decides; C and POSIX keep today's Japanese whatever
// LANGUAGE lists; "en" or "ja" from the environment, then from the setting, win.
void LanguageTest::choiceFollowsTheFirstUiLanguage() {
    const QStringList english{"en-US", "en-Latn-US", "en"};
    const QStringList japanese{"ja-JP", "ja-Jpan-JP", "ja"};
    struct Case {
        QString Forced, Setting;
        QStringList Ui;
        QString Messages;
        TextLanguage Want;
    };
    const Case cases[] = {
        {"", "", english, "en_US.UTF-8", En},
        {"", "", {"en_GB"}, "en_GB.UTF-8", En},
        {"", "", japanese, "ja_JP.UTF-8", Ja},
        {"", "", {"de-DE", "en"}, "de_DE.UTF-8", Ja}, // English second only
        {"", "", {"ja", "en"}, "en_GB.UTF-8", Ja},    // LANGUAGE=ja:en
        {"", "", {"eng"}, "en_US.UTF-8", Ja},         // no language "en"
        {"", "", {}, "en_US.UTF-8", Ja},
        {"", "", english, "C", Ja}, // LANG=C LANGUAGE=en_US
        {"", "", english, "C.UTF-8", Ja},
        {"", "", english, "POSIX", Ja},
        {"", "", english, "", Ja},
        {"en", "", japanese, "C", En},
        {" EN ", "ja", japanese, "ja_JP.UTF-8", En},
        {"ja", "en", english, "en_US.UTF-8", Ja},
        {"", "en", japanese, "C", En},
        {"", "ja", english, "en_US.UTF-8", Ja},
        {"english", "fr", english, "en_US.UTF-8", En}, // neither is a language: the desktop's
        {"fr", "", japanese, "ja_JP.UTF-8", Ja},
    };
    for (const Case& c : cases)
        QVERIFY2(ChooseTextLanguage(c.Forced, c.Setting, c.Ui, c.Messages) == c.Want,
                 qPrintable(c.Forced + "|" + c.Setting + "|" + c.Ui.join(",") + "|" + c.Messages));
}

// The start reads QUARVEL_LANGUAGE and the setting Language; a settings file that cannot be
// read as one (a pipe) is passed over without waiting on it.
void LanguageTest::environmentAndSettingForceEither() {
    WriteSettings("[General]\nLanguage=en\n");
    QCOMPARE(StartTextLanguage(), En);
    qputenv("QUARVEL_LANGUAGE", "ja");
    QCOMPARE(StartTextLanguage(), Ja);
    qunsetenv("QUARVEL_LANGUAGE");
    WriteSettings("[General]\nLanguage= ja\n"); // another size: QSettings caches by size and time
    QCOMPARE(StartTextLanguage(), Ja);

    const QString file = UserSettingsFile("quarvel", "quarvel");
    QFile::remove(file);
    QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    qputenv("QUARVEL_LANGUAGE", "en");
    QCOMPARE(StartTextLanguage(), En);
}

// In English, no window, menu item, dialog, message or error text holds Japanese: the menus
// walked item by item, every dialog opened, messages of the commands, every error kind and
// the recovery question as the editor words them.
void LanguageTest::englishEditorShowsNoJapanese() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    QVERIFY(InstallTextLanguage(*app, TextLanguage::English));
    struct Restore {
        QApplication* App;
        ~Restore() { InstallTextLanguage(*App, TextLanguage::Japanese); }
    } restore{app};

    QStringList shown; // "where: text" of each text with Japanese in it
    const auto check = [&shown](const QString& where, const QStringList& texts) {
        for (const QString& t : texts)
            if (HasJapanese(t)) shown << where + ": " + t;
    };

    TEditor e;
    TForm1* main = e.Set->Form1;
    TEditorState& s = e.State;
    QVERIFY(!main->MenuItems().isEmpty());
    for (QAction* item : main->MenuItems()) {
        check("menu " + item->objectName(), {item->text()});
        if (QMenu* sub = item->menu()) check("menu " + item->objectName(), {sub->title()});
    }

    // A selection through three levels, for the panel's selection text and the move dialog.
    s.TheSelection->X0 = s.TheSelection->Y0 = 2;
    s.TheSelection->X1 = s.TheSelection->Y1 = 4;
    s.TheSelection->SetActive(true);
    ChangeLevelKeepingSelection(s, 2);
    s.TheMap->SetChip(3, 3, 0, 25);
    s.Windows.Info->UpdateInfo();
    QCoreApplication::processEvents();
    for (QWidget* w : {static_cast<QWidget*>(main), static_cast<QWidget*>(e.Set->Form4)})
        check(w->objectName(), ShownTexts(w));
    for (int i = 0; i < PaletteCells; ++i)
        check("palette tip",
              {e.Set->Form4->PaletteToolTip(e.Set->Form4->PaletteCellRect(i).center())});

    check("shift dialog", WhileModal([&] { main->RunShiftDialog(); }));
    check("swap dialog", WhileModal([&] { main->RunSwapDialog(); }));
    MoveOffsets offsets;
    check("move dialog", WhileModal([&] { main->RunMoveDialog(offsets); }));
    ReplaceChoices choices;
    choices.SelectionOn = true;
    check("replace dialog", WhileModal([&] { main->RunReplaceDialog(choices); }));
    check("command palette", WhileModal([&] { main->MenuItem("SEARCH1")->trigger(); }));
    check("shortcut dialog", WhileModal([&] { main->MenuItem("KEYS1")->trigger(); }));
    check("open dialog", WhileModal([&] { main->RunOpenDialog(); }));
    check("save dialog", WhileModal([&] { main->RunSaveDialog(); }));
    for (MsgButtons b : {MsgButtons::Ok, MsgButtons::YesNo, MsgButtons::YesNoCancel})
        check("message box", WhileModal([&] { main->Show("text", "caption", b); }));

    // Messages of the commands, through the editor's message boxes.
    e.Messages.Answers = {mrCancel};
    s.TheMap->Modified = true;
    MenuClick(s, tagNew); // the save question
    FindNextCommand(s, 150);
    ReplaceChipsCommand(s, 25, 26, ChipBox{});
    MoveSelectionCommand(s, 40, 0, 0);
    MenuClick(s, tagUnpack); // nothing to unpack
    RunGuarded([] { throw QuarvelError(ErrorKind::NotAMap, FileRole::MapFile, "/maps/a.map"); });
    RunGuarded([] { throw std::bad_alloc(); });
    {
        TEditor without(false); // no chip files
        e.Messages.Log.insert(e.Messages.Log.end(), without.Messages.Log.begin(),
                              without.Messages.Log.end());
    }
    // The recovery question, for a copy of a map that has a name and one that has none.
    for (const std::string name : {"/maps/kept.map", ""}) {
        QTemporaryDir folder;
        TRecoveryFolder store(folder.path().toStdString());
        TMap copy;
        copy.Clear();
        copy.FileName = name;
        store.Save(copy);
        TRecovery recovery(s, store);
        recovery.FindLeftCopy();
        e.Messages.Answers = {mrNo};
        QVERIFY(recovery.OfferLeftCopy() == false);
    }
    // The file of the map changed by another program: the question, then (the map now counts
    // as modified) the message, the question before 上書き保存, and the file gone.
    {
        QTemporaryDir folder;
        const std::string path = folder.filePath("a.map").toStdString();
        TMap other;
        ClearToNewMap(other); // named as the shown language names a new map
        other.SaveToFile(path, "");
        QVERIFY(OpenMapFile(s, path, SaveQuestion::Asked));
        for (uint8_t chip : {1, 2}) {
            other.SetChip(0, 0, 0, chip);
            other.SaveToFile(path, "");
            e.Messages.Answers = {mrNo};
            CheckDiskFile(s);
        }
        e.Messages.Answers = {mrNo};
        QVERIFY(BeforeSave(s) == SaveOver::Cancel);
        QFile::remove(QString::fromStdString(path));
        CheckDiskFile(s);
    }
    QVERIFY(e.Messages.Log.size() >= 14);
    for (const TScriptedMessages::Shown& m : e.Messages.Log)
        check("message", {QString::fromStdString(m.Text), QString::fromStdString(m.Caption)});

    // The problems panel with a finding of every kind, and the count of changed cells.
    for (int i = 0; i < 400; ++i) s.TheMap->Cells[size_t(i) * 241 % TMap::CellCount] = uint8_t(i);
    main->MenuItem("CHANGES1")->trigger();
    main->MenuItem("PROBLEMS1")->trigger();
    QCoreApplication::processEvents();
    bool kinds[3] = {};
    for (const MapFinding& f : e.Set->Problems->Problems().Findings()) kinds[int(f.Kind)] = true;
    QVERIFY(kinds[0] && kinds[1] && kinds[2]);
    check("problems", ShownTexts(e.Set->Problems));
    check(e.Set->Form4->objectName(), ShownTexts(e.Set->Form4));

    // Every kind of error, with every field filled in, and the system's error numbers.
    for (int k = 0; k <= int(ErrorKind::NoResource); ++k) {
        const QuarvelError error =
            QuarvelError(ErrorKind(k), FileRole::ArchiveIndex, "/d/data1.lib", EACCES)
                .AtLine(3)
                .Named("a.map")
                .Detail("bad header");
        check(QString("error %1").arg(k), {QString::fromStdString(ShownErrorText(error))});
    }
    for (int role = 0; role <= int(FileRole::UserFolder); ++role)
        check("role", {QString::fromStdString(ShownErrorText(
                          QuarvelError(ErrorKind::NotFound, FileRole(role), "/x")))});
    for (int err = 0; err < 140; ++err)
        check(QString("errno %1").arg(err), {QString::fromStdString(ShownErrnoText(err))});

    QVERIFY2(shown.isEmpty(), qPrintable(shown.join("\n")));
}

QUARVEL_GUI_TEST_MAIN(LanguageTest)
#include "language_test.moc"
