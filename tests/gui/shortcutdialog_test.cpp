// The keys the user gives the commands: taken in the dialog, refused when another command has
// them, working at once in the menu and its keys, kept for the next start, and a kept key that
// cannot be used falls back to the command's own.
#include "app/Form_Main.h"
#include "editor/global.h"
#include "tests/gui/guitestutil.h"
#include "views/Form_Info.h"
#include "views/shortcutdialog.h"

#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <functional>
#include <random>
#include <sys/stat.h>

using namespace quarvel;
using namespace quarvel::test;

namespace {

QString SettingsFolder;
QString SettingsFile() {
    return SettingsFolder + "/quarvel/quarvel.ini";
}

void WriteSettings(const QByteArray& text) {
    QDir().mkpath(QFileInfo(SettingsFile()).path());
    QFile f(SettingsFile());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

// Opens ツール > ショートカットの設定... and hands the dialog to `use` while it is open (it is
// cancelled afterwards unless `use` closed it). False when no dialog opened.
bool WithDialog(TEditor& e, const std::function<void(TShortcutDialog*)>& use) {
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TShortcutDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        opened = true;
        use(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    e.Set->Form1->MenuItem("KEYS1")->trigger();
    return opened;
}

// Finds the command by the characters of its caption and types `key` into the key field.
void TypeKey(TShortcutDialog* d, const char* caption, int key) {
    d->Edit1->setText(QString::fromUtf8(caption));
    d->HotKey1->setFocus();
    QTest::keyClick(d->HotKey1, Qt::Key(key & ~int(Qt::KeyboardModifierMask)),
                    Qt::KeyboardModifiers(key & int(Qt::KeyboardModifierMask)));
}

QString Chosen(TShortcutDialog* d) {
    return d->ListView1->currentItem() ? d->ListView1->currentItem()->text(0) : QString();
}

void PressInMain(TEditor& e, int key) {
    TForm1* main = e.Set->Form1;
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QTest::keyClick(main, Qt::Key(key & ~int(Qt::KeyboardModifierMask)),
                    Qt::KeyboardModifiers(key & int(Qt::KeyboardModifierMask)));
}

QKeySequence Key(int k) {
    return QKeySequence(k);
}

} // namespace

class ShortcutDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void aChangedKeyWorksAtOnceAndAfterARestart();
    void keptKeysThatCannotBeUsedFallBack();

private:
    QTemporaryDir Settings;
};

void ShortcutDialogTest::init() {
    SettingsFolder = Settings.path();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, SettingsFolder);
    QFile::remove(SettingsFile());
}

void ShortcutDialogTest::aChangedKeyWorksAtOnceAndAfterARestart() {
    const int ctrl = int(Qt::ControlModifier);
    {
        TEditor e;
        TForm1* main = e.Set->Form1;
        QString refusal;
        QVERIFY(WithDialog(e, [&](TShortcutDialog* d) {
            // A key another command has is not taken, and that command is named.
            TypeKey(d, "上の階層", ctrl | Qt::Key_S);
            QCOMPARE(Chosen(d), QString::fromUtf8("上の階層(U)"));
            refusal = d->Label1->text();
            QCOMPARE(d->HotKey1->keySequence(), Key(Qt::Key_Up));
            // Nor is a menu's Alt key, which would open the menu instead.
            TypeKey(d, "上の階層", int(Qt::AltModifier) | Qt::Key_F);
            refusal += d->Label1->text();
            TypeKey(d, "上の階層", Qt::Key_PageUp);
            QVERIFY(d->Label1->text().isEmpty());
            QCOMPARE(d->ListView1->currentItem()->text(1),
                     Key(Qt::Key_PageUp).toString(QKeySequence::NativeText));
            // The key field took one key: Return is the dialog's OK again.
            QTest::keyClick(d->ListView1, Qt::Key_Return);
        }));
        QVERIFY2(refusal.contains(QString::fromUtf8("「上書き保存(S)」")) &&
                     refusal.contains(QString::fromUtf8("「ファイル(F)」")),
                 qPrintable(refusal));
        QCOMPARE(main->MenuItem("UP1")->shortcuts(), QList<QKeySequence>{Key(Qt::Key_PageUp)});
        QCOMPARE(main->MenuItem("SAVE1")->shortcut(), Key(ctrl | Qt::Key_S));
        PressInMain(e, Qt::Key_PageUp);
        QCOMPARE(e.State.CurrentLevel, 1);
        PressInMain(e, Qt::Key_Up);
        QCOMPARE(e.State.CurrentLevel, 1);
        // The new key is a short-cut like the others: not while the name box has the focus.
        e.Set->Form4->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), e.Set->Form4);
        e.Set->Form4->Edit1->setFocus();
        QTest::keyClick(e.Set->Form4->Edit1, Qt::Key_PageUp);
        QCOMPARE(e.State.CurrentLevel, 1);

        // キャンセル changes nothing; 消去 then OK leaves the command without a key.
        QVERIFY(WithDialog(e, [&](TShortcutDialog* d) {
            TypeKey(d, "下の階層(D)", Qt::Key_PageDown);
            d->Button4->click();
        }));
        QCOMPARE(main->MenuItem("DOWN1")->shortcut(), Key(Qt::Key_Down));
        QVERIFY(WithDialog(e, [&](TShortcutDialog* d) {
            d->Edit1->setText(QString::fromUtf8("切り取り"));
            d->Button1->click();
            d->Button3->click();
        }));
        QVERIFY(main->MenuItem("CUT1")->shortcuts().isEmpty());
    }
    // Only the changed keys are kept.
    {
        QSettings kept(SettingsFile(), QSettings::IniFormat);
        kept.beginGroup("Shortcuts");
        QCOMPARE(kept.childKeys(), (QStringList{"CUT1", "UP1"}));
        QCOMPARE(kept.value("CUT1").toString(), QString());
    }
    // The next start has them; 既定に戻す puts the own key back.
    TEditor again;
    QCOMPARE(again.Set->Form1->MenuItem("UP1")->shortcut(), Key(Qt::Key_PageUp));
    QVERIFY(again.Set->Form1->MenuItem("CUT1")->shortcuts().isEmpty());
    PressInMain(again, Qt::Key_PageUp);
    QCOMPARE(again.State.CurrentLevel, 1);
    QVERIFY(WithDialog(again, [&](TShortcutDialog* d) {
        d->Edit1->setText(QString::fromUtf8("上の階層"));
        d->Button2->click();
        d->Button3->click();
    }));
    QCOMPARE(again.Set->Form1->MenuItem("UP1")->shortcut(), Key(Qt::Key_Up));
    QSettings kept(SettingsFile(), QSettings::IniFormat);
    kept.beginGroup("Shortcuts");
    QCOMPARE(kept.childKeys(), QStringList{"CUT1"});
}

void ShortcutDialogTest::keptKeysThatCannotBeUsedFallBack() {
    const int ctrl = int(Qt::ControlModifier);
    WriteSettings("[Shortcuts]\n"
                  "UP1=Ctrl+Nothing\n"       // no key
                  "DOWN1=Ctrl+S\n"           // 上書き保存's
                  "PREV1=f5\n"               // taken, spelled otherwise
                  "NEXT1=F5\n"               // 前's now: the earlier one keeps it
                  "REFRESH1=Return\n"        // one of its two keys
                  "FIX1=Enter\n"             // the other one, given up by REFRESH1
                  "SWITCH1=Ctrl+K, Ctrl+L\n" // two keys in a row
                  "SELECT1=\"\\x1\"\n"       // a control character
                  "NOTHING1=F6\n");          // no such command
    QStringList names;
    {
        TEditor e;
        TForm1* main = e.Set->Form1;
        const auto keys = [&](const char* name) { return main->MenuItem(name)->shortcuts(); };
        QCOMPARE(keys("UP1"), QList<QKeySequence>{Key(Qt::Key_Up)});
        QCOMPARE(keys("DOWN1"), QList<QKeySequence>{Key(Qt::Key_Down)});
        QCOMPARE(keys("SAVE1"), QList<QKeySequence>{Key(ctrl | Qt::Key_S)});
        QCOMPARE(keys("PREV1"), QList<QKeySequence>{Key(Qt::Key_F5)});
        QCOMPARE(keys("NEXT1"), QList<QKeySequence>{Key(Qt::Key_Right)});
        QCOMPARE(keys("REFRESH1"), QList<QKeySequence>{Key(Qt::Key_Return)});
        QCOMPARE(keys("FIX1"), QList<QKeySequence>{Key(Qt::Key_Enter)});
        QCOMPARE(keys("SWITCH1"), QList<QKeySequence>{Key(ctrl | Qt::Key_Tab)});
        QCOMPARE(keys("SELECT1"), QList<QKeySequence>{Key(ctrl | Qt::Key_A)});
        for (size_t i = 0; i < main->Shortcuts().Size(); ++i)
            names << QString::fromStdString(main->Shortcuts().Command(i).Name);
    }
    // Whatever a settings file of a sane size holds, no key is left on two items and each
    // item has its own keys or one key.
    const QList<QByteArray> values =
        QByteArray("F5|Ctrl+S|up|Return|Enter|PgUp|a|Ctrl+|+++|\\xff|"
                   "@Variant(\\0\\x7f)|Ctrl+K, Ctrl+L||@Invalid()|Shift")
            .split('|');
    std::mt19937 rng(54);
    for (int round = 0; round < 20; ++round) {
        QByteArray text = "[Shortcuts]\n";
        for (int line = 0; line < 40; ++line) {
            text += names[int(rng() % names.size())].toUtf8() + "=";
            if (rng() % 4)
                text += values[int(rng() % values.size())];
            else // bytes of any value
                for (int n = int(rng() % 8); n > 0; --n) text += char(rng() % 256);
            text += "\n";
        }
        WriteSettings(text);
        TEditor e;
        QSet<QKeySequence> seen;
        for (QAction* a : e.Set->Form1->MenuItems())
            for (const QKeySequence& k : a->shortcuts()) {
                QVERIFY2(!k.isEmpty() && !seen.contains(k), qPrintable(text));
                seen.insert(k);
            }
        const TShortcutTable& t = e.Set->Form1->Shortcuts();
        for (size_t i = 0; i < t.Size(); ++i) QVERIFY(!t.Changed(i) || t.Keys(i).size() <= 1);
    }

    // A pipe in the settings' place is neither waited on nor replaced; a change still works.
    QFile::remove(SettingsFile());
    const QByteArray name = QFile::encodeName(SettingsFile());
    QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    TEditor e;
    QCOMPARE(e.Set->Form1->MenuItem("UP1")->shortcut(), Key(Qt::Key_Up));
    QVERIFY(WithDialog(e, [&](TShortcutDialog* d) {
        TypeKey(d, "上の階層", Qt::Key_PageUp);
        d->Button3->click();
    }));
    PressInMain(e, Qt::Key_PageUp);
    QCOMPARE(e.State.CurrentLevel, 1);
    struct stat st;
    QVERIFY(::stat(name.constData(), &st) == 0 && S_ISFIFO(st.st_mode));
}

QUARVEL_GUI_TEST_MAIN(ShortcutDialogTest)
#include "shortcutdialog_test.moc"
