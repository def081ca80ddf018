// The language of the editor's texts: chosen from the desktop's languages, forced by the
// environment or the user's settings.
#include "app/language.h"
#include "app/recentsettings.h"
#include "tests/gui/guitestutil.h"
#include "views/translations.h"

#include <QDir>
#include <QFile>
#include <QtTest>
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

QUARVEL_GUI_TEST_MAIN(LanguageTest)
#include "language_test.moc"
