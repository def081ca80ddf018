// Choosing the language of the texts and loading its translations.
#include "views/translations.h"

#include "editor/texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace quarvel {

namespace {

bool IsCLocale(const QString& name) {
    return name.isEmpty() || name == "C" || name == "POSIX" || name.startsWith("C.") ||
           name.startsWith("POSIX.");
}

// The translators this program installed, removed again when another language is chosen.
QList<QPointer<QTranslator>>& Installed() {
    static QList<QPointer<QTranslator>> translators;
    return translators;
}

bool Install(QCoreApplication& app, const QString& file, const QString& folder) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(file, folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    Installed().append(translator);
    return true;
}

} // namespace

bool ParseTextLanguage(const QString& text, TextLanguage& language) {
    const QString code = text.trimmed().toLower();
    if (code == "en")
        language = TextLanguage::English;
    else if (code == "ja")
        language = TextLanguage::Japanese;
    else
        return false;
    return true;
}

TextLanguage ChooseTextLanguage(const QString& forced, const QString& setting,
                                const QStringList& uiLanguages, const QString& messagesLocale) {
    TextLanguage language;
    if (ParseTextLanguage(forced, language) || ParseTextLanguage(setting, language))
        return language;
    if (IsCLocale(messagesLocale) || uiLanguages.isEmpty()) return TextLanguage::Japanese;
    // "en", "en-US", "en_GB", "en-Latn-US": the language is the part before the first '-' or '_'.
    const QString first = uiLanguages.first().section('-', 0, 0).section('_', 0, 0);
    return first.compare("en", Qt::CaseInsensitive) == 0 ? TextLanguage::English
                                                         : TextLanguage::Japanese;
}

bool InstallTextLanguage(QCoreApplication& app, TextLanguage language) {
    for (const QPointer<QTranslator>& t : Installed()) {
        if (!t) continue;
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    Installed().clear();
    SetTextTranslator(nullptr);
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (language == TextLanguage::Japanese) {
        Install(app, "qtbase_ja", qtFolder); // without it Qt's texts stay English
        return true;
    }
    Install(app, "qtbase_en", qtFolder);
    if (!Install(app, "quarvel_en", ":/translations")) return false;
    SetTextTranslator([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    });
    return true;
}

} // namespace quarvel
